#include "cli/ScriptRunner.h"

#include <quillet/Quillet.h>

#include <QImage>

namespace quillet::cli {

namespace {

/// Typed access to a command's arguments; the parser has checked types and ranges.
class Args {
public:
    explicit Args(const ScriptCommand &command) : m_args(command.args) {}

    QString text(std::size_t i) const { return QString::fromStdString(std::get<std::string>(m_args.at(i))); }
    float number(std::size_t i) const { return static_cast<float>(std::get<double>(m_args.at(i))); }
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

void ScriptRunner::runCommand(const ScriptCommand &command)
{
    const Args a(command);
    Quillet &q = m_listing;
    switch (command.entry->id) {
    case CommandId::Init:
        openListing(command);
        break;
    case CommandId::PNL:
        q.PNL(a.number(0));
        break;
    case CommandId::PNP:
        q.PNP();
        break;
    case CommandId::PMargins:
        q.PMargins(a.number(0), a.number(1), a.number(2), a.number(3));
        break;
    case CommandId::C:
        q.C(a.text(0), a.number(1), a.number(2), a.number(3));
        break;
    case CommandId::L:
        q.L(a.text(0), a.number(1), a.number(2), a.number(3));
        break;
    case CommandId::R:
        q.R(a.text(0), a.number(1), a.number(2), a.number(3));
        break;
    case CommandId::M:
        paragraph(a.text(0), a.number(1), a.number(2), a.number(3));
        break;
    case CommandId::NewCol:
        q.NewCol(a.number(0), a.number(1));
        break;
    case CommandId::ClsCols:
        q.ClsCols();
        break;
    case CommandId::CCol:
        q.CCol(a.integer(0), a.text(1), a.number(2), a.flag(3));
        break;
    case CommandId::LCol:
        q.LCol(a.integer(0), a.text(1), a.number(2), a.number(3), a.flag(4));
        break;
    case CommandId::RCol:
        q.RCol(a.integer(0), a.text(1), a.number(2), a.number(3), a.flag(4));
        break;
    case CommandId::PFont:
        q.PFont(a.text(0), a.number(1), a.flag(2), a.flag(3), a.flag(4));
        break;
    case CommandId::PAlign:
        q.PAlign(a.integer(0));
        break;
    case CommandId::PBox:
        q.PBox(a.number(0), a.number(1), a.number(2), a.number(3), a.integer(4));
        break;
    case CommandId::PCircle:
        q.PCircle(a.number(0), a.number(1), a.number(2), a.integer(3));
        break;
    case CommandId::PLine:
        q.PLine(a.number(0), a.number(1), a.number(2), a.number(3), a.integer(4));
        break;
    case CommandId::PColor:
        q.PColor(a.integer(0));
        break;
    case CommandId::PDraw:
        q.PDraw(a.integer(0), a.integer(1));
        break;
    case CommandId::PFill:
        q.PFill(a.integer(0), a.integer(1));
        break;
    case CommandId::PFix:
        q.PFix(a.flag(0), a.flag(1));
        break;
    case CommandId::PNewImg: {
        const QString path = m_baseDir.filePath(a.text(0));
        const QImage picture(path);
        if (picture.isNull())
            m_problems.push_back({command.line, 1, "cannot read the picture " + path.toStdString()});
        q.PNewImg(picture); // numbers stay in step with the script even when a file is missing
        break;
    }
    case CommandId::PDrawImg:
        q.PDrawImg(a.integer(0), a.number(1), a.number(2));
        break;
    }
}

void ScriptRunner::paragraph(const QString &text, float posY, float posX, float maxX)
{
    QString rest = m_listing.M(text, posY, posX, maxX);
    while (!rest.isEmpty()) {
        m_listing.PNL();
        QString next = m_listing.M(rest, -1, posX, maxX);
        if (next.size() >= rest.size())
            break; // nothing fits the line: stop rather than loop
        rest = std::move(next);
    }
}

} // namespace quillet::cli
