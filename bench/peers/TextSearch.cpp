#include "TextSearch.h"

#include "../WorkloadPage.h"
#include "Measurements.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryFile>

#include <string>

#include <sys/resource.h>

namespace quillet::bench {

std::string lastPageOnlyText(int pages)
{
    constexpr int lastColumn = 1; // "Artigo de teste número <item>": no larger item exists
    return workloadCell(pages, WorkloadRows - 1, lastColumn);
}

void measureGrep(int pages, Measurements &out)
{
    QTemporaryFile file(QDir::temp().filePath(QStringLiteral("quillet-texts-XXXXXX.txt")));
    if (!file.open())
        return;
    std::string texts;
    const std::string pageCount = std::to_string(pages);
    for (int page = 1; page <= pages; ++page) {
        std::string title = WorkloadTitle;
        title.replace(title.find("PRICOCO"), 7, std::to_string(page));
        title.replace(title.find("TRICOCO"), 7, pageCount);
        texts += title + '\n';
        for (const WorkloadColumn &column : WorkloadColumns)
            texts += std::string(column.title) + '\n';
        for (int row = 0; row < WorkloadRows; ++row)
            for (int column = 0; column < static_cast<int>(WorkloadColumns.size()); ++column)
                texts += workloadCell(page, row, column) + '\n';
        texts += std::string(WorkloadFooter) + '\n';
        if (texts.size() > (1 << 24) || page == pages) {
            file.write(texts.data(), static_cast<qint64>(texts.size()));
            texts.clear();
        }
    }
    file.flush();

    QProcess grep;
    const Stopwatch watch;
    grep.start(QStringLiteral("grep"), {QStringLiteral("-c"), QStringLiteral("-F"),
                                        QString::fromStdString(lastPageOnlyText(pages)), file.fileName()});
    grep.waitForFinished(-1);
    out.set("grep_ms", watch.wallMs());
    rusage children{};
    if (::getrusage(RUSAGE_CHILDREN, &children) == 0) // grep is this process's only child
        out.set("grep_cpu_ms", (children.ru_utime.tv_sec + children.ru_stime.tv_sec) * 1e3 +
                                   (children.ru_utime.tv_usec + children.ru_stime.tv_usec) / 1e3);
    out.set("grep_count", grep.readAllStandardOutput().trimmed().toDouble());
    out.set("text_MiB", static_cast<double>(file.size()) / (1 << 20));
}

} // namespace quillet::bench
