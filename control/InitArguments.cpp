#include "control/InitArguments.h"

#include <QString>

namespace quillet {

namespace {

bool isText(const QVariant &value)
{
    return value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray ||
           value.typeId() == QMetaType::QChar;
}

std::optional<int> asInteger(const QVariant &value)
{
    bool ok = false;
    const double number = isText(value) ? value.toString().trimmed().toDouble(&ok) : value.toDouble(&ok);
    if (!ok || !(number >= -32768 && number <= 32767))
        return std::nullopt;
    return qRound(number);
}

} // namespace

bool isDirectMode(const QVariant &PrtScreen)
{
    if (!PrtScreen.isValid())
        return false;
    const QString mode = PrtScreen.toString().toUpper();
    return mode == QLatin1String("PRT") || mode == QLatin1String("P");
}

std::optional<int> orientationCode(const QVariant &POri)
{
    if (isText(POri)) {
        const QString text = POri.toString().toUpper();
        if (text.startsWith(QLatin1Char('P')))
            return 1;
        if (text.startsWith(QLatin1Char('L')))
            return 2;
    }
    return asInteger(POri);
}

std::optional<int> paperCode(const QVariant &PPaper)
{
    if (isText(PPaper)) {
        const QString name = PPaper.toString().toUpper();
        if (name == QLatin1String("LETTER"))
            return 1;
        if (name == QLatin1String("LEGAL"))
            return 5;
        if (name == QLatin1String("A3"))
            return 8;
        if (name == QLatin1String("A4"))
            return 9;
    }
    return asInteger(PPaper);
}

} // namespace quillet
