#include "preview/ZoomBox.h"

#include "base/ErrorsIgnored.h"
#include "widgets/SelectAllText.h"

#include <QApplication>
#include <QKeyEvent>
#include <QRegularExpression>

namespace quillet {

namespace {

constexpr int MaxChars = 4;
constexpr double MinPercent = 10;
constexpr double MaxPercent = 200;
constexpr char16_t LineFeed = 10;
constexpr char16_t Enter = 13;

QString plain(double number)
{
    return QString::number(number, 'g', 15);
}

} // namespace

ZoomBox::ZoomBox(QWidget *parent) : QLineEdit(parent)
{
    setObjectName(QStringLiteral("ESC"));
    setMaxLength(MaxChars);
    selectAllOnFocus(*this);
}

double ZoomBox::leadingNumber(const QString &text)
{
    static const QRegularExpression number(QStringLiteral(R"(^\s*([+-]?(\d+\.?\d*|\.\d+)))"));
    const QRegularExpressionMatch match = number.match(text);
    return match.hasMatch() ? match.captured(1).toDouble() : 0;
}

void ZoomBox::setPercent(double percent)
{
    m_zoomText = plain(percent) + u'%';
    setText(m_zoomText);
}

void ZoomBox::validate()
{
    if (value() > MaxPercent)
        setText(QStringLiteral("200%"));
    if (value() < MinPercent)
        setText(QStringLiteral("10%"));
    const QString digits = plain(value());
    if (text() != digits && text() != digits + u'%')
        setText(QStringLiteral("100%"));
    setPercent(value());
    emit zoomEntered(static_cast<float>(value()) / 100);
}

void ZoomBox::keyPressEvent(QKeyEvent *event)
{
    ignoringErrors([&] {
        // Escape with nothing typed goes on to the window, which closes.
        if (event->key() == Qt::Key_Escape && text() != m_zoomText) {
            setText(m_zoomText);
            SelectAllText(*this);
            return;
        }
        const QString typed = event->text();
        if (typed.size() != 1) {
            QLineEdit::keyPressEvent(event); // no character: arrows, Home, End...
            return;
        }
        const char16_t code = typed.front().unicode();
        if (code == Enter) {
            validate();
            SelectAllText(*this);
            emit entered();
        } else if ((code >= u'0' && code <= u'9') || (code < 32 && code != LineFeed)) {
            QLineEdit::keyPressEvent(event);
        } else {
            QApplication::beep();
        }
    });
}

void ZoomBox::focusOutEvent(QFocusEvent *event)
{
    ignoringErrors([&] {
        QLineEdit::focusOutEvent(event);
        // Another window coming to the front (a dialog, the window closing) is no
        // choice of the user's: only moving inside the window validates.
        if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
            validate();
    });
}

} // namespace quillet
