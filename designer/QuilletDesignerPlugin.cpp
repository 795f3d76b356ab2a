#include "QuilletDesignerPlugin.h"

#include "quillet/Quillet.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace {

/// The 16 x 15 face of the widget box: a sheet with a few lines of print.
QPixmap boxIcon()
{
    QPixmap pixmap(16, 15);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const QRect sheet(3, 0, 10, 15);
    painter.fillRect(sheet, Qt::white);
    painter.setPen(Qt::darkGray);
    painter.drawRect(sheet.adjusted(0, 0, -1, -1));
    for (int y = sheet.top() + 3; y < sheet.bottom() - 1; y += 2)
        painter.drawLine(sheet.left() + 2, y, sheet.right() - 2, y);
    return pixmap;
}

} // namespace

QuilletDesignerPlugin::QuilletDesignerPlugin(QObject *parent) : QObject(parent) {}

QString QuilletDesignerPlugin::name() const
{
    return QStringLiteral("quillet::Quillet");
}

QString QuilletDesignerPlugin::group() const
{
    return QStringLiteral("Quillet");
}

QString QuilletDesignerPlugin::toolTip() const
{
    return QStringLiteral("Print and preview listings");
}

QString QuilletDesignerPlugin::whatsThis() const
{
    return QStringLiteral("Composes a listing with Init, C, L, R, PNL, PNP and the other commands, "
                          "then previews, prints or saves it as PDF.");
}

QString QuilletDesignerPlugin::includeFile() const
{
    return QStringLiteral("quillet/Quillet.h");
}

QIcon QuilletDesignerPlugin::icon() const
{
    return QIcon(boxIcon());
}

bool QuilletDesignerPlugin::isContainer() const
{
    return false;
}

QWidget *QuilletDesignerPlugin::createWidget(QWidget *parent)
{
    return new quillet::Quillet(parent);
}

bool QuilletDesignerPlugin::isInitialized() const
{
    return m_initialized;
}

void QuilletDesignerPlugin::initialize(QDesignerFormEditorInterface *)
{
    m_initialized = true;
}

QString QuilletDesignerPlugin::domXml() const
{
    return QStringLiteral("<ui language=\"c++\">\n"
                          " <widget class=\"quillet::Quillet\" name=\"quillet\"/>\n"
                          "</ui>\n");
}
