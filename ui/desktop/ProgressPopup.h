// The progress window of file opening and saving: a small captioned window
// above the main window with a text line and a progress bar. While it is up
// the main window is disabled; Esc in the window cancels (the window goes,
// the file operation itself runs to its end and the main window is enabled
// again when the popup object goes).
#pragma once

#include "core/document/Progress.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

class QLabel;
class QProgressBar;

class CProgressPopup : public CProgress {
public:
    // pOwner: the window the popup is centred over and which is disabled
    // while it is up (its top-level window).
    explicit CProgressPopup(QWidget* pOwner, bool bSmooth = true);
    ~CProgressPopup() override;

    // The window, or nullptr while it is not up.
    QWidget* Window() const { return m_pWindow; }
    // The file operation is over: the owner is usable again, also after a
    // cancel (for a popup kept from one operation to the next).
    void Finished() { EnableOwner(true); }

protected:
    void OnShow(const std::string& caption) override;
    void OnHide() override;
    void OnCaption(const std::string& caption) override;
    void OnBar(int lower, int upper, int position) override;
    void OnMessage(const std::string& text) override;
    bool OnPump() override;

private:
    void EnableOwner(bool bEnable);

    QPointer<QWidget> m_pOwner;
    QPointer<QWidget> m_pWindow;
    QLabel* m_pText = nullptr;
    QProgressBar* m_pBar = nullptr;
    bool m_bSmooth = true;
    bool m_bOwnerDisabled = false;
    bool m_bOwnerWasActive = false;
    QPointer<QWidget> m_pOwnerFocus;
    bool m_bEscape = false;
    static const int PUMP_INTERVAL_MS = 30;
    QElapsedTimer m_LastPump;  // when events were last handled
};
