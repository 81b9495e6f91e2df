#include "command/BatchRun.h"

#include "command/BatchJob.h"
#include "command/CommandError.h"
#include "command/FontChoice.h"
#include "command/RenderJob.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QThread>

#include <condition_variable>
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
    QSize size;
    QString error; // empty: written
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
    try {
        outcome.size = renderRequest(request);
    } catch (const CommandError& error) {
        outcome.error = error.message();
    } catch (const std::bad_alloc&) {
        outcome.error = QStringLiteral("out of memory");
    } catch (const std::exception& error) {
        outcome.error = QStringLiteral("internal error: ") + QString::fromLocal8Bit(error.what());
    }
    return outcome;
}

// A JSON string: quotes, backslashes and control characters escaped, the rest as UTF-8.
QByteArray jsonString(const QString& text)
{
    QByteArray out = "\"";
    for (const char c : text.toUtf8()) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            out += QByteArray("\\u00") + QByteArray::number(u, 16).rightJustified(2, '0');
        } else {
            out += c;
        }
    }
    return out + '"';
}

void writeLine(std::FILE* stream, const QByteArray& line)
{
    std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stream);
    std::fputc('\n', stream);
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
        if (outcome.error.isEmpty()) {
            writeLine(m_results, "{\"line\": " + QByteArray::number(line) +
                                     ", \"output\": " + jsonString(outcome.output) +
                                     ", \"width\": " + QByteArray::number(outcome.size.width()) +
                                     ", \"height\": " + QByteArray::number(outcome.size.height()) + '}');
        } else {
            m_anyFailed = true;
            writeLine(m_results,
                      "{\"line\": " + QByteArray::number(line) + ", \"error\": " + jsonString(outcome.error) + '}');
            writeLine(m_errors,
                      (m_fileName + u':' + QString::number(line) + QStringLiteral(": ") + outcome.error).toUtf8());
            std::fflush(m_errors);
        }
        std::fflush(m_results);
    }
    bool anyFailed() const { return m_anyFailed; }

private:
    QString m_fileName;
    std::FILE* m_results;
    std::FILE* m_errors;
    bool m_anyFailed = false;
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
    std::deque<Pending> pending;
    QHash<QString, int> outputsInFlight;
    const auto reportFirst = [&] {
        Pending first = std::move(pending.front());
        pending.pop_front();
        reporter.report(first.line, first.outcome.get());
        if (!first.outputKey.isEmpty() && --outputsInFlight[first.outputKey] == 0)
            outputsInFlight.remove(first.outputKey);
    };

    int lineNumber = 0;
    bool readFailed = false;
    for (;;) {
        QByteArray line = file.readLine();
        if (line.isEmpty()) {
            readFailed = !file.atEnd() && file.error() != QFileDevice::NoError;
            break;
        }
        ++lineNumber;
        if (lineNumber == 1 && line.startsWith("\xef\xbb\xbf")) // a byte order mark
            line.remove(0, 3);
        if (line.trimmed().isEmpty())
            continue;
        Pending job;
        job.line = lineNumber;
        try {
            const RenderRequest request = jobRequest(line, options.defaults);
            // Font files are loaded here, one thread at a time, before any job draws with them.
            if (!request.fontFile.isEmpty())
                familyOfFontFile(request.fontFile);
            job.outputKey = QFileInfo(request.output).absoluteFilePath();
            // Two jobs for one file: the later one starts when the earlier one is done, so
            // the file holds the later picture, as one job after another would leave it.
            while (outputsInFlight.contains(job.outputKey))
                reportFirst();
            ++outputsInFlight[job.outputKey];
            if (pool) {
                auto task =
                    std::make_shared<std::packaged_task<JobOutcome()>>([request] { return renderJob(request); });
                job.outcome = task->get_future();
                pool->add([task] { (*task)(); });
            } else {
                job.outcome = ready(renderJob(request));
            }
        } catch (const CommandError& error) {
            job.outputKey.clear();
            job.outcome = ready(JobOutcome{{}, {}, error.message()});
        }
        pending.push_back(std::move(job));
        while (pending.size() > inFlightLimit)
            reportFirst();
    }
    while (!pending.empty())
        reportFirst();
    if (readFailed) {
        writeLine(errors, QStringLiteral("sorvel-render: cannot read %1 after line %2: %3")
                              .arg(quoted(shownName))
                              .arg(lineNumber)
                              .arg(file.errorString())
                              .toUtf8());
        return UsageError;
    }
    return reporter.anyFailed() ? Failed : Success;
}

} // namespace sorvel::render_command
