#pragma once
// The zoom box ESC: a percentage from 10 to 200 followed by "%". Only digits
// and control keys can be typed; Enter or leaving the box validates the text,
// Escape abandons what was typed.

#include <QLineEdit>

namespace quillet {

class ZoomBox : public QLineEdit {
    Q_OBJECT
public:
    explicit ZoomBox(QWidget *parent);

    /// The value of the number the text starts with (blanks, a sign and a
    /// decimal fraction allowed); 0 when it starts with none.
    static double leadingNumber(const QString &text);
    /// leadingNumber of the box's text.
    double value() const { return leadingNumber(text()); }
    /// Shows percent followed by "%": the zoom in effect, which Escape brings back.
    void setPercent(double percent);

    /// Brings the text into 10 % to 200 % in its plain form, falling back to
    /// "100%" for anything else, and reports the zoom it stands for.
    void validate();

signals:
    /// The validated zoom (1.0 = 100 %), whether or not it changed.
    void zoomEntered(float zoom);
    /// Enter was pressed: the zoom typed is in force.
    void entered();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QString m_zoomText;
};

} // namespace quillet
