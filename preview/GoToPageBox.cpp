#include "preview/GoToPageBox.h"

#include "base/ErrorsIgnored.h"
#include "widgets/Translation.h"

#include <QKeyEvent>
#include <QRegularExpressionValidator>

namespace quillet {

namespace {

/// Page numbers are 16-bit: five digits are enough.
constexpr int MaxDigits = 5;

} // namespace

GoToPageBox::GoToPageBox(QWidget &label) : QLineEdit(label.parentWidget()), m_label(label)
{
    setObjectName(QStringLiteral("ePAGE"));
    setAlignment(Qt::AlignCenter);
    setMaxLength(MaxDigits);
    setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    translated(*this, [this] { setToolTip(tr("Número da página; Enter para ir")); });
    hide();
}

void GoToPageBox::open(int currentPage)
{
    const int height = std::max(m_label.height(), sizeHint().height());
    setGeometry(m_label.x() + m_label.width() / 4, m_label.y(), m_label.width() / 2, height);
    setText(QString::number(currentPage));
    selectAll();
    m_label.hide();
    show();
    raise();
    setFocus(Qt::ShortcutFocusReason);
}

void GoToPageBox::keyPressEvent(QKeyEvent *event)
{
    ignoringErrors([&] {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            bool isNumber = false;
            const int page = text().toInt(&isNumber);
            giveBackLabel();
            if (isNumber)
                emit pageEntered(page);
            emit closed();
            return;
        }
        case Qt::Key_Escape:
            giveBackLabel();
            emit closed();
            return;
        default:
            QLineEdit::keyPressEvent(event);
        }
    });
}

void GoToPageBox::focusOutEvent(QFocusEvent *event)
{
    ignoringErrors([&] {
        QLineEdit::focusOutEvent(event);
        giveBackLabel();
    });
}

void GoToPageBox::giveBackLabel()
{
    if (isHidden())
        return;
    hide(); // hiding moves the focus away: focusOutEvent comes back here, already hidden
    m_label.show();
}

} // namespace quillet
