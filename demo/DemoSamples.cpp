#include "DemoSamples.h"

#include "StockReport.h"
#include "cli/ScriptRunner.h"

#include <quillet/Quillet.h>

#include <QFile>

const QList<DemoSample> &demoSamples()
{
    static const QList<DemoSample> samples = {
        {QStringLiteral("invoice"), QStringLiteral("Fatura"), QStringLiteral(":/samples/invoice.qls")},
        {QStringLiteral("barcodes"),
         QStringLiteral("Nota fiscal com chave de acesso e código QR de pagamento"),
         QStringLiteral(":/samples/barcodes.qls")},
        {QStringLiteral("stock"), QStringLiteral("Inventário do armazém (10 000 linhas em colunas)"), {}},
        {QStringLiteral("letter"), QStringLiteral("Carta com parágrafos justificados e logótipo"),
         QStringLiteral(":/samples/letter.qls")},
        {QStringLiteral("graphics"), QStringLiteral("Todos os comandos gráficos"),
         QStringLiteral(":/samples/graphics.qls")},
    };
    return samples;
}

const DemoSample *findDemoSample(const QString &key)
{
    for (const DemoSample &sample : demoSamples())
        if (sample.key == key)
            return &sample;
    return nullptr;
}

QString composeSample(const DemoSample &sample, quillet::Quillet &listing, QWidget *window,
                      bool printDirectly)
{
    const QString mode = printDirectly ? QStringLiteral("P") : QStringLiteral("S");
    if (sample.scriptPath.isEmpty()) {
        if (const quint8 result = listing.Init(window, sample.title, mode); result != 0)
            return QStringLiteral("Init failed with code %1").arg(result);
        StockReport(listing).compose();
        return {};
    }
    QFile file(sample.scriptPath);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1").arg(sample.scriptPath);
    const QByteArray text = file.readAll();
    const quillet::cli::ParsedScript script =
        quillet::cli::parseScript(std::string_view(text.constData(), text.size()));
    std::vector<quillet::cli::ScriptError> problems = script.errors;
    const std::vector<quillet::cli::ScriptError> composing =
        quillet::cli::ScriptRunner(listing, window, QDir(QStringLiteral(":/samples")), mode)
            .run(script.commands);
    problems.insert(problems.end(), composing.begin(), composing.end());
    if (problems.empty())
        return {};
    return QString::fromStdString(
        quillet::cli::formatError(sample.scriptPath.toStdString(), problems.front()));
}
