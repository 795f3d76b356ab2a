#pragma once
// Runs a parsed listing script on the component, command by command, in the
// mode the caller chose (the script's own PrtScreen is not used).

#include "cli/ScriptParser.h"

#include <QDir>
#include <QString>

#include <functional>

class QWidget;

namespace quillet {
class Quillet;
}

namespace quillet::cli {

class ScriptRunner {
public:
    /// prtScreen: "S" composes for the preview (and for PDF or images), "P" prints directly.
    /// Picture files are looked up in baseDir (a resource folder works too).
    ScriptRunner(Quillet &listing, QWidget *window, const QDir &baseDir, const QString &prtScreen);

    /// Composes the listing, opening it with Init's defaults first when the
    /// script does not start with Init. Returns the problems met on the way
    /// (pictures that cannot be read), the command is then skipped.
    /// pagesComposed, when given, is told each time the page count grows.
    std::vector<ScriptError> run(const std::vector<ScriptCommand> &commands,
                                 const std::function<void(int pageCount)> &pagesComposed = {});

private:
    void openListing(const ScriptCommand &init);
    void runCommand(const ScriptCommand &command);
    /// Writes the whole paragraph, one justified line after another.
    void paragraph(const QString &text, float posY, float posX, float maxX);

    Quillet &m_listing;
    QWidget *m_window;
    QDir m_baseDir;
    QString m_prtScreen;
    std::vector<ScriptError> m_problems;
};

} // namespace quillet::cli
