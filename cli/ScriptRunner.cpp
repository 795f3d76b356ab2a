#include "cli/ScriptRunner.h"

#include <quillet/Quillet.h>

#include <QImage>

#include <tuple>
#include <type_traits>
#include <utility>

namespace quillet::cli {

namespace {

/// Typed access to a command's arguments; the parser has checked types and ranges.
class Args {
public:
    explicit Args(const ScriptCommand &command) : m_args(command.args) {}

    QString text(std::size_t i) const { return QString::fromStdString(std::get<std::string>(m_args.at(i))); }
    int integer(std::size_t i) const { return static_cast<int>(std::get<double>(m_args.at(i))); }
    bool flag(std::size_t i) const { return std::get<bool>(m_args.at(i)); }
    /// A whole number when the word is one (paper code 9, orientation 2), else the word.
    QVariant setting(std::size_t i) const
    {
        bool isNumber = false;
        const int code = text(i).toInt(&isNumber, 0);
        return isNumber ? QVariant(code) : QVariant(text(i));
    }

private:
    const std::vector<ArgValue> &m_args;
};

} // namespace

ScriptRunner::ScriptRunner(Quillet &listing, QWidget *window, const QDir &baseDir, const QString &prtScreen)
    : m_listing(listing), m_window(window), m_baseDir(baseDir), m_prtScreen(prtScreen)
{
}

std::vector<ScriptError> ScriptRunner::run(const std::vector<ScriptCommand> &commands,
                                           const std::function<void(int pageCount)> &pagesComposed)
{
    m_problems.clear();
    if (commands.empty() || commands.front().entry->id != CommandId::Init) {
        // A script without Init gets the listing Init opens when given no arguments.
        static const ParsedScript defaultInit = parseScript("Init");
        openListing(defaultInit.commands.front());
    }
    int pages = 0;
    for (const ScriptCommand &command : commands) {
        runCommand(command);
        if (pagesComposed && m_listing.pageCount() > pages)
            pagesComposed(pages = m_listing.pageCount());
    }
    return m_problems;
}

void ScriptRunner::openListing(const ScriptCommand &init)
{
    const Args a(init);
    const quint8 result = m_listing.Init(m_window, a.text(0), m_prtScreen, a.setting(2), a.setting(3),
                                         a.flag(4), a.flag(5), a.flag(6), a.flag(7), a.flag(8), a.flag(9),
                                         a.flag(10), a.flag(11), a.integer(12), a.integer(13));
    if (result != 0)
        m_problems.push_back(
            {init.line, 1,
             "Init did not open the listing as asked (result code " + std::to_string(result) + ")"});
}

template <typename Param> Param ScriptRunner::argument(const ScriptCommand &script, std::size_t i)
{
    const ArgValue &value = script.args.at(i);
    if constexpr (std::is_same_v<Param, QString>) {
        return QString::fromStdString(std::get<std::string>(value));
    } else if constexpr (std::is_same_v<Param, QImage>) {
        const QString path = m_baseDir.filePath(argument<QString>(script, i));
        QImage picture(path);
        if (picture.isNull())
            m_problems.push_back({script.line, 1, "cannot read the picture " + path.toStdString()});
        return picture; // numbers stay in step with the script even when a file is missing
    } else if constexpr (std::is_same_v<Param, bool>) {
        return std::get<bool>(value);
    } else {
        return static_cast<Param>(std::get<double>(value));
    }
}

template <typename Row, typename Result, typename... Params>
void ScriptRunner::call(Result (Quillet::*command)(Params...), const ScriptCommand &script)
{
    [&]<std::size_t... I>(std::index_sequence<I...>)
    {
        std::tuple<std::remove_cvref_t<Params>...> args{argument<std::remove_cvref_t<Params>>(script, I)...};
        const auto run = [&] {
            return std::apply([&](const auto &...values) { return (m_listing.*command)(values...); }, args);
        };
        if constexpr (Row::returns == commands::RestOfText) {
            // The whole paragraph: the rest goes on at the cursor, a line lower each time.
            for (Result rest = run(); !rest.isEmpty();) {
                m_listing.PNL();
                std::get<0>(args) = rest;
                std::get<1>(args) = -1;
                Result next = run();
                if (next.size() >= rest.size())
                    break; // nothing fits the line: stop rather than loop
                rest = std::move(next);
            }
        } else {
            run();
        }
    }
    (std::index_sequence_for<Params...>{});
}

void ScriptRunner::runCommand(const ScriptCommand &command)
{
    switch (command.entry->id) {
#define QUILLET_SCRIPT_CALL(Name, ...)                                                                       \
    case CommandId::Name:                                                                                    \
        return call<commands::Name>(&Quillet::Name, command);
        QUILLET_COMMANDS(QUILLET_SCRIPT_CALL)
#undef QUILLET_SCRIPT_CALL
    case CommandId::Init:
        return openListing(command);
    }
}

} // namespace quillet::cli
