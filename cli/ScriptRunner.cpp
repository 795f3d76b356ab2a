#include "cli/ScriptRunner.h"

#include <quillet/Quillet.h>

#include <QImage>

#include <tuple>
#include <type_traits>
#include <utility>

namespace quillet::cli {

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
    const auto flag = [&](std::size_t i) { return argument<bool>(init, i); };
    const auto setting = [&](std::size_t i) { return argument<QVariant>(init, i); };
    const quint8 result = m_listing.Init(
        m_window, argument<QString>(init, 0), m_prtScreen, setting(2), setting(3), flag(4), flag(5), flag(6),
        flag(7), flag(8), flag(9), flag(10), flag(11), argument<int>(init, 12), argument<int>(init, 13));
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
    } else if constexpr (std::is_same_v<Param, QVariant>) {
        // A whole number when the word is one (paper code 9, orientation 2), else the word.
        bool isNumber = false;
        const int code = argument<QString>(script, i).toInt(&isNumber, 0);
        return isNumber ? QVariant(code) : QVariant(argument<QString>(script, i));
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
        } else if constexpr (Row::returns == commands::Status) {
            if (const int result = run(); result != 0)
                m_problems.push_back(
                    {script.line, 1,
                     std::string(Row::name) + " drew nothing (result " + std::to_string(result) + ")"});
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
