// The Qt Designer plugin, loaded the way Designer loads it.

#include "quillet/Quillet.h"

#include <QPluginLoader>
#include <QtTest>

#ifdef QUILLET_DESIGNER_PLUGIN
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#endif

class DesignerPluginTest : public QObject {
    Q_OBJECT

private slots:
    void widgetBoxEntryCreatesTheComponent()
    {
#ifndef QUILLET_DESIGNER_PLUGIN
        QSKIP("the Designer plugin is not built (QUILLET_BUILD_DESIGNER is off)");
#else
        QPluginLoader loader(QStringLiteral(QUILLET_DESIGNER_PLUGIN));
        auto *plugin = qobject_cast<QDesignerCustomWidgetInterface *>(loader.instance());
        QVERIFY2(plugin, qPrintable(loader.errorString()));

        QVERIFY(plugin->domXml().contains(QStringLiteral("class=\"quillet::Quillet\"")));
        QVERIFY(!plugin->icon().isNull());

        QWidget form;
        QWidget *widget = plugin->createWidget(&form);
        QVERIFY(qobject_cast<quillet::Quillet *>(widget));
        QCOMPARE(widget->parentWidget(), &form);
#endif
    }
};

QTEST_MAIN(DesignerPluginTest)
#include "designer_plugin_test.moc"
