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
    /// Calls the component's command of that row with the script's arguments.
    template <typename Row, typename Result, typename... Params>
    void call(Result (Quillet::*command)(Params...), const ScriptCommand &script);
    /// The script's argument i as the component's parameter takes it.
    template <typename Param> Param argument(const ScriptCommand &script, std::size_t i);

    Quillet &m_listing;
    QWidget *m_window;
    QDir m_baseDir;
    QString m_prtScreen;
    std::vector<ScriptError> m_problems;
};

} // namespace quillet::cli
