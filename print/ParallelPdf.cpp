#include "print/ParallelPdf.h"

#include "base/ErrorsIgnored.h"
#include "compose/Session.h"
#include "platform/PdfJob.h"
#include "platform/PdfJoin.h"
#include "print/PageList.h"
#include "print/WaitDialog.h"
#include "render/PageRenderer.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace quillet {

namespace {

/// Every run repeats the fonts it uses, and a thread costs time to start and
/// join: shorter runs, and threads with fewer pages, cost more than they save.
constexpr size_t ShortestRun = 50;
/// Runs are as long as this at most, so that progress and the last runs move evenly.
constexpr size_t LongestRun = 500;
/// Every thread gets this many runs, so the last ones to finish end close together.
constexpr size_t RunsPerThread = 4;
/// How often the progress dialog is brought up to date.
constexpr std::chrono::milliseconds ProgressInterval{50};

/// Pages replayed into a file of their own.
struct Run {
    std::vector<int> pages;
    std::atomic<size_t> drawn{0};
    std::atomic<bool> finished{false};
    std::unique_ptr<PdfJob> job;
    QString file;
};

std::vector<std::unique_ptr<Run>> cutIntoRuns(const PageList &pages, int threads)
{
    const auto count = static_cast<size_t>(pages.pageCount());
    const size_t length =
        std::clamp<size_t>((count + threads * RunsPerThread - 1) / (threads * RunsPerThread), ShortestRun, LongestRun);
    std::vector<std::unique_ptr<Run>> runs;
    pages.forEachPage([&](int page) {
        if (runs.empty() || runs.back()->pages.size() == length) {
            runs.push_back(std::make_unique<Run>());
            runs.back()->pages.reserve(length);
        }
        runs.back()->pages.push_back(page);
        return true;
    });
    return runs;
}

/// The runs and the threads writing them. The threads are stopped and joined
/// whichever way the job ends.
class Writers {
public:
    Writers(const PdfSettings &settings, std::vector<std::unique_ptr<Run>> runs)
        : m_settings(settings), m_runs(std::move(runs))
    {
    }
    Writers(const Writers &) = delete;
    Writers &operator=(const Writers &) = delete;
    ~Writers() { stop(); }

    /// What each thread reads is taken here, before the host may change it.
    void start(const Session &listing, int threads)
    {
        for (int i = 0; i < threads; ++i) {
            auto view = std::make_unique<Session>();
            view->state = listing.state;
            view->spool = listing.spool ? listing.spool->reader() : nullptr;
            view->barcodes = listing.barcodes;
            if (!view->spool) {
                m_failed = true;
                return;
            }
            m_views.push_back(std::move(view));
        }
        for (const auto &view : m_views)
            m_threads.emplace_back([this, session = view.get()] {
                // A run left unfinished would keep the job waiting for it.
                if (!ignoringErrors(false, [&] { return work(*session); }))
                    fail();
            });
    }

    void stop()
    {
        m_stop = true;
        for (std::thread &thread : m_threads)
            thread.join();
        m_threads.clear();
    }

    /// Waits until a page is drawn, a run fails, or timeout passes.
    void waitForChange(std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, timeout, [this] { return m_changes > m_seen || m_failed; });
        m_seen = m_changes;
    }

    bool failed() const { return m_failed; }

    /// The page drawn index-th (from 0) in the job.
    int pageAt(size_t index) const
    {
        for (const auto &run : m_runs) {
            if (index < run->pages.size())
                return run->pages[index];
            index -= run->pages.size();
        }
        return m_runs.empty() ? 0 : m_runs.back()->pages.back();
    }
    const std::vector<std::unique_ptr<Run>> &runs() const { return m_runs; }

    /// The pages drawn in order from the first, and whether every run is finished.
    size_t pagesInOrder(bool &allFinished) const
    {
        size_t pages = 0;
        allFinished = true;
        for (const auto &run : m_runs) {
            const bool finished = run->finished;
            pages += run->drawn;
            if (!finished) {
                allFinished = false;
                break;
            }
        }
        return pages;
    }

private:
    void changed()
    {
        {
            std::lock_guard lock(m_mutex);
            ++m_changes;
        }
        m_changed.notify_all();
    }

    void fail()
    {
        m_failed = true;
        m_stop = true;
        changed();
    }

    /// False when a run could not be written.
    bool work(const Session &view)
    {
        for (size_t next = m_nextRun++; next < m_runs.size() && !m_stop; next = m_nextRun++) {
            Run &run = *m_runs[next];
            // An unfinished run's file goes here, however the run ends, while this
            // thread's font engines, which the file's end embeds, still exist.
            const std::unique_ptr<Run, void (*)(Run *)> discardUnfinished(&run, [](Run *left) {
                if (!left->finished)
                    left->job.reset();
            });
            run.job = std::make_unique<PdfJob>(m_settings.layout, m_settings.resolutionDpi, m_settings.title,
                                               m_settings.archive);
            JobSurface surface([job = run.job.get()](QTransform &mmToDevice) { return job->painter(mmToDevice); });
            ListingReplay replay(view, surface, ListingReplay::Look::Printed);
            for (size_t i = 0; i < run.pages.size() && !m_stop && run.job->isOpen(); ++i) {
                if (i > 0)
                    run.job->newPage();
                ignoringErrors([&] { replay.render(run.pages[i]); }); // a failing page keeps what it drew
                run.drawn = i + 1;
                changed();
            }
            if (m_stop)
                return true;
            run.file = run.job->finish();
            if (run.file.isEmpty())
                return false;
            run.finished = true;
            changed();
        }
        return true;
    }

    const PdfSettings &m_settings;
    std::vector<std::unique_ptr<Run>> m_runs;
    std::vector<std::unique_ptr<Session>> m_views;
    std::vector<std::thread> m_threads;
    std::atomic<size_t> m_nextRun{0};
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_failed{false};
    std::mutex m_mutex;
    std::condition_variable m_changed;
    uint64_t m_changes = 0;
    uint64_t m_seen = 0;
};

} // namespace

int ParallelPdf::threadsFor(int64_t pageCount)
{
    bool given = false;
    const int wanted = qEnvironmentVariableIntValue("QUILLET_PDF_THREADS", &given);
    const int cores = given && wanted > 0 ? wanted : static_cast<int>(std::thread::hardware_concurrency());
    return static_cast<int>(std::clamp<int64_t>(std::min<int64_t>(cores, pageCount / static_cast<int64_t>(ShortestRun)), 1, 64));
}

std::optional<ReplayOutcome> ParallelPdf::write(const Session &listing, const PageList &pages,
                                                const PdfSettings &settings, int threads, QIODevice &out,
                                                WaitDialog *progress, const KeepGoing &keepGoing,
                                                const PageWritten &pageWritten)
{
    Writers writers(settings, cutIntoRuns(pages, threads));
    writers.start(listing, threads);
    const auto total = static_cast<int>(std::min<int64_t>(pages.pageCount(), INT32_MAX));
    size_t told = 0;
    for (bool allFinished = false; !allFinished && !writers.failed();) {
        writers.waitForChange(ProgressInterval);
        const size_t drawn = writers.pagesInOrder(allFinished);
        // The host's code, run by the progress dialog or told of a page, may end the listing.
        for (; told < drawn; ++told)
            if (pageWritten)
                pageWritten(static_cast<int>(told + 1), total);
        if (progress) {
            progress->setProgressText(pageProgressText(writers.pageAt(told), total));
            if (keepGoing && !keepGoing())
                return ReplayOutcome::ListingEnded;
        }
        if (listing.ended)
            return ReplayOutcome::ListingEnded;
        if (progress && progress->printCancelled())
            return ReplayOutcome::Cancelled;
    }
    writers.stop();
    if (writers.failed())
        return std::nullopt;
    QStringList files;
    for (const auto &run : writers.runs())
        files.push_back(run->file);
    if (!joinPdfFiles(files, out))
        return std::nullopt;
    return ReplayOutcome::Completed;
}

} // namespace quillet
