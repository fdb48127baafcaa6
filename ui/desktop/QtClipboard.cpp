#include "ui/desktop/QtClipboard.h"

#include "ui/desktop/GbkQt.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

CClipboard::EState CQtClipboard::GetText(std::string& text)
{
    QClipboard* pClipboard = QGuiApplication::clipboard();
    if (!pClipboard)
        return CLIP_BUSY;
    const QMimeData* pData = pClipboard->mimeData();
    if (!pData || !pData->hasText())
        return CLIP_NOT_TEXT;
    bool bReplaced = false;
    text = QToGbk(pData->text(), &bReplaced);
    if (bReplaced && m_OnReplaced)
        m_OnReplaced();
    return CLIP_TEXT;
}

bool CQtClipboard::SetText(const std::string& text)
{
    QClipboard* pClipboard = QGuiApplication::clipboard();
    if (!pClipboard)
        return false;
    pClipboard->setText(GbkToQ(text));
    return true;
}
