#include "widgets/Translation.h"

#include "widgets/EventHook.h"

#include <QCoreApplication>
#include <QLocale>
#include <QPointer>
#include <QTranslator>
#include <QWidget>

namespace quillet {

namespace {

const QString TranslationsFolder = QStringLiteral(":/quillet/translations");

/// One translator a process, a child of the application (so gone with it), and
/// the languages it was picked for: picking again only when QLocale() changed
/// sends the host's windows no needless LanguageChange.
QPointer<QTranslator> translator;
QStringList pickedFor;

bool isSourceLanguage(const QString &uiLanguage)
{
    const QLocale::Language language = QLocale(uiLanguage).language();
    return language == QLocale::Portuguese || language == QLocale::C;
}

void pickTranslation()
{
    QCoreApplication *application = QCoreApplication::instance();
    const QStringList languages = QLocale().uiLanguages();
    if (!application || (translator && languages == pickedFor))
        return;
    if (translator)
        QCoreApplication::removeTranslator(translator);
    else
        translator = new QTranslator(application);
    pickedFor = languages;
    // The first of the user's languages that is Portuguese or has a translation wins.
    for (const QString &language : languages) {
        if (isSourceLanguage(language))
            return;
        // "en-GB" tries quillet_en_GB.qm, then quillet_en.qm.
        if (translator->load(QStringLiteral("quillet_") + QString(language).replace(u'-', u'_'),
                             TranslationsFolder)) {
            QCoreApplication::installTranslator(translator);
            return;
        }
    }
}

} // namespace

void translated(QWidget &widget, std::function<void()> setTexts)
{
    pickTranslation();
    setTexts();
    onEvent(widget, QEvent::LanguageChange, [setTexts = std::move(setTexts)] {
        pickTranslation();
        setTexts();
    });
}

} // namespace quillet
