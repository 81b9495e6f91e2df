#include "command/BatchRun.h"

#include "command/BatchJob.h"
#include "command/BatchLines.h"
#include "command/CommandError.h"
#include "command/FontChoice.h"
#include "command/RenderJob.h"
#include "command/ResultJson.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QThread>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <exception>
#include <functional>
#include <future>
#include <mutex>
#include <new>
#include <optional>
#include <thread>
#include <vector>

namespace sorvel::render_command {

namespace {

struct JobOutcome {
    QString output;
    RenderResult result;
    QString error;           // empty: written
    bool boxesAsked = false; // the result line holds the boxes
};

// Worker threads taking tasks in the order given. Each task owns everything it draws on (its
// canvas, label and holder live in renderRequest), so tasks share nothing but the font system.
class WorkerPool {
public:
    explicit WorkerPool(int threads)
    {
        for (int i = 0; i < threads; ++i)
            m_threads.emplace_back([this] { work(); });
    }
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;
    ~WorkerPool()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_wake.notify_all();
        for (std::thread& thread : m_threads)
            thread.join();
    }

    void add(std::function<void()> task)
    {
        {
            const std::lock_guard lock(m_mutex);
            m_tasks.push_back(std::move(task));
        }
        m_wake.notify_one();
    }

private:
    void work()
    {
        for (;;) {
            std::function<void()> task;
            {
                std::unique_lock lock(m_mutex);
                m_wake.wait(lock, [this] { return m_stopping || !m_tasks.empty(); });
                if (m_tasks.empty())
                    return;
                task = std::move(m_tasks.front());
                m_tasks.pop_front();
            }
            task();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_tasks;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};

JobOutcome renderJob(const RenderRequest& request)
{
    JobOutcome outcome;
    outcome.output = request.output;
    outcome.boxesAsked = request.boxesInResult;
    try {
        outcome.result = renderRequest(request, true);
    } catch (const CommandError& error) {
        outcome.error = error.message();
    } catch (const std::bad_alloc&) {
        outcome.error = QStringLiteral("out of memory");
    } catch (const std::exception& error) {
        outcome.error = QStringLiteral("internal error: ") + QString::fromLocal8Bit(error.what());
    }
    return outcome;
}

// Gives false when the line could not be written whole.
bool writeLine(std::FILE* stream, const QByteArray& line)
{
    const auto size = static_cast<std::size_t>(line.size());
    return std::fwrite(line.constData(), 1, size, stream) == size && std::fputc('\n', stream) != EOF;
}

struct Pending {
    int line = 0;
    QString outputKey; // the output as an absolute path; empty for a line that failed early
    std::future<JobOutcome> outcome;
};

class BatchReporter {
public:
    BatchReporter(QString fileName, std::FILE* results, std::FILE* errors)
        : m_fileName(std::move(fileName)), m_results(results), m_errors(errors)
    {
    }

    void report(int line, const JobOutcome& outcome)
    {
        if (!m_resultsLost.isEmpty())
            return;
        bool written;
        if (outcome.error.isEmpty()) {
            const RenderResult& result = outcome.result;
            const QByteArray boxes = outcome.boxesAsked ? boxesMember(result.boxes) : QByteArray();
            written = writeLine(m_results, "{\"line\": " + QByteArray::number(line) +
                                               ", \"output\": " + jsonString(outcome.output) +
                                               ", \"width\": " + QByteArray::number(result.size.width()) +
                                               ", \"height\": " + QByteArray::number(result.size.height()) +
                                               missingMember(result.missing) + boxes + '}');
            if (!result.warning.isEmpty())
                writeError(line, result.warning);
        } else {
            m_anyFailed = true;
            // The output, where the line got as far as naming one, matches the result to its
            // job wherever the line was (in a chunk of a larger batch, say).
            const QByteArray output =
                outcome.output.isEmpty() ? QByteArray() : ", \"output\": " + jsonString(outcome.output);
            written = writeLine(m_results, "{\"line\": " + QByteArray::number(line) + output +
                                               ", \"error\": " + jsonString(outcome.error) + '}');
            writeError(line, outcome.error);
        }
        if (std::fflush(m_results) != 0 || !written)
            m_resultsLost = QString::fromLocal8Bit(std::strerror(errno));
    }
    bool anyFailed() const { return m_anyFailed; }
    // Why the results could not be written (their reader went away, the disk is full); empty
    // while they are.
    const QString& resultsLost() const { return m_resultsLost; }

private:
    void writeError(int line, const QString& message)
    {
        writeLine(m_errors, (m_fileName + u':' + QString::number(line) + QStringLiteral(": ") + message).toUtf8());
        std::fflush(m_errors);
    }

    QString m_fileName;
    std::FILE* m_results;
    std::FILE* m_errors;
    bool m_anyFailed = false;
    QString m_resultsLost;
};

std::future<JobOutcome> ready(JobOutcome outcome)
{
    std::promise<JobOutcome> promise;
    promise.set_value(std::move(outcome));
    return promise.get_future();
}

} // namespace

int runBatch(const BatchOptions& options, std::FILE* results, std::FILE* errors)
{
    const bool fromStandardInput = options.file == standardStream;
    const QString shownName = fromStandardInput ? QStringLiteral("standard input") : options.file;
    QFile file;
    const bool opened = fromStandardInput ? file.open(stdin, QIODevice::ReadOnly)
                                          : (file.setFileName(options.file), file.open(QIODevice::ReadOnly));
    const bool folder = !fromStandardInput && QFileInfo(options.file).isDir();
    if (!opened || folder) {
        const QString reason = folder ? QStringLiteral("a folder has that name") : file.errorString();
        writeLine(errors, QStringLiteral("sorvel-render: cannot read %1: %2").arg(quoted(shownName), reason).toUtf8());
        return UsageError;
    }

    const int jobs = options.jobs > 0 ? options.jobs : std::max(1, QThread::idealThreadCount());
    // A few jobs a thread waiting or done but not yet reported: enough to keep every thread
    // busy, and the memory of a batch stays that of a few pictures whatever its length.
    const std::size_t inFlightLimit = static_cast<std::size_t>(jobs) * 4;
    std::optional<WorkerPool> pool;
    if (jobs > 1)
        pool.emplace(jobs);

    BatchReporter reporter(shownName, results, errors);
    // Set once the results cannot be written: a job not yet begun is then not begun at all,
    // and one being drawn finishes its file (written whole, or not at all).
    auto stopping = std::make_shared<std::atomic<bool>>(false);
    std::deque<Pending> pending;
    QHash<QString, int> outputsInFlight;
    const auto reportFirst = [&] {
        Pending first = std::move(pending.front());
        pending.pop_front();
        reporter.report(first.line, first.outcome.get());
        if (!first.outputKey.isEmpty() && --outputsInFlight[first.outputKey] == 0)
            outputsInFlight.remove(first.outputKey);
        if (!reporter.resultsLost().isEmpty())
            stopping->store(true);
    };

    BatchLineReader lines(file);
    bool readFailed = false;
    while (reporter.resultsLost().isEmpty()) {
        QByteArray line;
        const BatchLineReader::Status status = lines.next(line);
        if (status == BatchLineReader::Status::End || status == BatchLineReader::Status::ReadFailed) {
            readFailed = status == BatchLineReader::Status::ReadFailed;
            break;
        }
        if (lines.lineNumber() == 1 && line.startsWith("\xef\xbb\xbf")) // a byte order mark
            line.remove(0, 3);
        if (status == BatchLineReader::Status::Line && line.trimmed().isEmpty())
            continue;
        Pending job;
        job.line = lines.lineNumber();
        try {
            if (status == BatchLineReader::Status::TooLong)
                usageError(QStringLiteral("the line is longer than %1 bytes").arg(lines.maxLineBytes()));
            const RenderRequest request = jobRequest(line, options.defaults);
            // Font files are loaded here, one thread at a time, before any job draws with them.
            if (!request.fontFile.isEmpty())
                familyOfFontFile(request.fontFile);
            job.outputKey = QFileInfo(request.output).absoluteFilePath();
            // Two jobs for one file: the later one starts when the earlier one is done, so
            // the file holds the later picture, as one job after another would leave it.
            while (outputsInFlight.contains(job.outputKey) && reporter.resultsLost().isEmpty())
                reportFirst();
            if (!reporter.resultsLost().isEmpty())
                break;
            ++outputsInFlight[job.outputKey];
            if (pool) {
                auto task = std::make_shared<std::packaged_task<JobOutcome()>>([request, stopping] {
                    return stopping->load() ? JobOutcome{request.output, {}, QStringLiteral("not begun"), false}
                                            : renderJob(request);
                });
                job.outcome = task->get_future();
                pool->add([task] { (*task)(); });
            } else {
                job.outcome = ready(renderJob(request));
            }
        } catch (const CommandError& error) {
            job.outputKey.clear();
            job.outcome = ready(JobOutcome{{}, {}, error.message(), false});
        }
        pending.push_back(std::move(job));
        while (pending.size() > inFlightLimit && reporter.resultsLost().isEmpty())
            reportFirst();
    }
    while (!pending.empty())
        reportFirst();
    if (!reporter.resultsLost().isEmpty()) {
        writeLine(
            errors,
            QStringLiteral("sorvel-render: cannot write to standard output: %1").arg(reporter.resultsLost()).toUtf8());
        std::fflush(errors);
        return Failed;
    }
    if (readFailed) {
        writeLine(errors, QStringLiteral("sorvel-render: cannot read %1 after line %2: %3")
                              .arg(quoted(shownName))
                              .arg(lines.lineNumber())
                              .arg(file.errorString())
                              .toUtf8());
        return UsageError;
    }
    return reporter.anyFailed() ? Failed : Success;
}

} // namespace sorvel::render_command
