// Message boxes, questions and file choices of the core, shown with Qt's
// standard dialogs. Texts arrive and leave as GBK.
#pragma once

#include "core/engine/Prompt.h"

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

class CQtPrompt : public CPrompt {
public:
    explicit CQtPrompt(QWidget* pParent = nullptr) : m_pParent(pParent) {}
    void SetParent(QWidget* pParent) { m_pParent = pParent; }
    // Where ShowStatus texts go (the status bar).
    std::function<void(const QString&)> m_ShowStatus;

    void ShowMessage(const std::string& text, const std::string& caption) override;
    EAnswer AskQuestion(const std::string& text, const std::string& caption, EButtons buttons) override;
    bool ChooseFile(bool bSave, const std::string& filter, std::string& path) override;
    bool ChooseFileOfType(bool bSave, const std::string& filter, std::string& path, int& nType) override;
    void ShowStatus(const std::string& text) override;

    // "Name (*.x)|*.x|All (*.*)|*.*||" to "Name (*.x);;All (*.*)".
    static QString QtFilter(const QString& mfcFilter);

private:
    QPointer<QWidget> m_pParent;
};
