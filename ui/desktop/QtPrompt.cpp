#include "ui/desktop/QtPrompt.h"

#include "ui/desktop/GbkQt.h"

#include <QFile>

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace {

const char WARNING_CAPTION[] = "警告";

}  // namespace

void CQtPrompt::ShowMessage(const std::string& text, const std::string& caption)
{
    const QString qCaption = caption.empty() ? QStringLiteral("Quantorix") : GbkToQ(caption);
    QMessageBox box(qCaption == QString::fromUtf8(WARNING_CAPTION) ? QMessageBox::Warning : QMessageBox::Information,
                    qCaption, GbkToQ(text), QMessageBox::Ok, m_pParent);
    box.exec();
}

CPrompt::EAnswer CQtPrompt::AskQuestion(const std::string& text, const std::string& caption, EButtons buttons)
{
    QMessageBox::StandardButtons qButtons;
    switch (buttons) {
    case BUTTONS_YESNO: qButtons = QMessageBox::Yes | QMessageBox::No; break;
    case BUTTONS_YESNOCANCEL: qButtons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel; break;
    case BUTTONS_OKCANCEL: qButtons = QMessageBox::Ok | QMessageBox::Cancel; break;
    }
    QMessageBox box(QMessageBox::Question, caption.empty() ? QStringLiteral("Quantorix") : GbkToQ(caption),
                    GbkToQ(text), qButtons, m_pParent);
    switch (box.exec()) {
    case QMessageBox::Yes:
    case QMessageBox::Ok: return ANSWER_YES;
    case QMessageBox::No: return ANSWER_NO;
    default: return buttons == BUTTONS_YESNO ? ANSWER_NO : ANSWER_CANCEL;
    }
}

QString CQtPrompt::QtFilter(const QString& mfcFilter)
{
    const QStringList parts = mfcFilter.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i];
        const QString pattern = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
        if (!name.contains(QLatin1Char('(')))
            name += QStringLiteral(" (") + pattern + QLatin1Char(')');
        filters << name;
    }
    return filters.join(QStringLiteral(";;"));
}

bool CQtPrompt::ChooseFile(bool bSave, const std::string& filter, std::string& path)
{
    int nType = 0;
    return ChooseFileOfType(bSave, filter, path, nType);
}

bool CQtPrompt::ChooseFileOfType(bool bSave, const std::string& filter, std::string& path, int& nType)
{
    const QString qFilter = QtFilter(GbkToQ(filter));
    QString start = NativePathToQ(path);
    // A proposed name of the form "folder/*.qtx" only names the folder.
    if (start.contains(QLatin1Char('*')))
        start = start.left(std::max<qsizetype>(start.lastIndexOf(QLatin1Char('/')), 0));
    QString selected;
    const QString chosen = bSave ? QFileDialog::getSaveFileName(m_pParent, QString(), start, qFilter, &selected)
                                 : QFileDialog::getOpenFileName(m_pParent, QString(), start, qFilter, &selected);
    if (chosen.isEmpty())
        return false;
    nType = std::max<qsizetype>(qFilter.split(QStringLiteral(";;")).indexOf(selected), 0);
    // The name goes to the system as it came, whatever characters it holds.
    path = QToNativePath(chosen);
    return true;
}

void CQtPrompt::ShowStatus(const std::string& text)
{
    if (m_ShowStatus)
        m_ShowStatus(GbkToQ(text));
}
