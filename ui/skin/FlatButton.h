// A push button drawn flat: a rounded outline, a 64-step vertical gradient,
// warm edges under the mouse and blue ones when focused, the text shifted by
// a pixel while pressed, and engraved text when disabled.
#pragma once

#include <QPushButton>

class CFlatButton : public QPushButton {
    Q_OBJECT
public:
    explicit CFlatButton(const QString& text, QWidget* pParent = nullptr);

    bool IsHovered() const { return m_bHover; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    bool m_bHover = false;
};
