#include "archive/window_files.h"

#include <deque>
#include <memory>
#include <optional>

#include "measure/sample_store.h"
#include "records/test_file.h"

namespace archive {

// On the file thread: what is still to be done.
class TFileJobs {
  public:
    explicit TFileJobs(const QString& thisHost)
        : thisHost(thisHost), scratch(std::make_unique<TSampleStore>()) {}

    const QString thisHost;
    std::unique_ptr<TSampleStore> scratch;  // far too large for a stack
    std::deque<TStoredFile> backlog;        // the latest asked for at the back
    std::deque<TStoredFile> urgent;
    std::optional<std::pair<qint64, QString>> curve;
    bool scheduled = false;

    bool Idle() const { return backlog.empty() && urgent.empty() && !curve; }
};

namespace {

TCurve ReadCurveOf(qint64 id, const QString& path, TSampleStore& store) {
    TCurve curve;
    curve.id = id;
    const TOpenedTest opened = records::OpenTestFile(path, store);
    if (!opened.ok) {
        curve.error = opened.error;
        return curve;
    }
    curve.warning = opened.warning;
    const auto count = size_t(opened.loaded);
    curve.times.resize(count);
    curve.loads.resize(count);
    for (size_t i = 0; i < count; ++i) {
        curve.times[i] = store.TimeMs[i] * 0.001;
        curve.loads[i] = store.ForceN[i] * 0.001;
    }
    return curve;
}

}  // namespace

TFileWork::TFileWork(const QString& thisHost, QObject* parent)
    : QObject(parent), thread_(QStringLiteral("ve17-archive-files"), [thisHost] {
          return std::make_unique<TFileJobs>(thisHost);
      }) {}

TFileWork::~TFileWork() = default;

void TFileWork::Check(const std::vector<TStoredFile>& files) {
    thread_.Post([this, files](TFileJobs& jobs) {
        jobs.backlog.insert(jobs.backlog.end(), files.begin(), files.end());
        QList<qint64> dropped;
        while (jobs.backlog.size() > size_t(kCheckBacklog)) {
            dropped << jobs.backlog.front().id;
            jobs.backlog.pop_front();
        }
        if (!dropped.isEmpty()) {
            home_.Post([this, dropped] { emit Dropped(dropped); });
        }
        Schedule(jobs);
    });
}

void TFileWork::CheckNow(const TStoredFile& file) {
    thread_.Post([this, file](TFileJobs& jobs) {
        jobs.urgent.push_back(file);
        Schedule(jobs);
    });
}

void TFileWork::ReadCurve(qint64 id, const QString& path) {
    thread_.Post([this, id, path](TFileJobs& jobs) {
        jobs.curve.emplace(id, path);
        Schedule(jobs);
    });
}

// One job at a time, so that requests that came meanwhile are seen before the next one.
void TFileWork::Schedule(TFileJobs& jobs) {
    if (jobs.scheduled || jobs.Idle()) {
        return;
    }
    jobs.scheduled = true;
    thread_.Post([this](TFileJobs& jobs) {
        jobs.scheduled = false;
        RunOne(jobs);
        Schedule(jobs);
    });
}

void TFileWork::RunOne(TFileJobs& jobs) {
    if (jobs.curve) {
        const auto [id, path] = *jobs.curve;
        jobs.curve.reset();
        const TCurve curve = ReadCurveOf(id, path, *jobs.scratch);
        home_.Post([this, curve] { emit CurveRead(curve); });
        return;
    }
    const bool urgent = !jobs.urgent.empty();
    TStoredFile file;
    if (urgent) {
        file = jobs.urgent.front();
        jobs.urgent.pop_front();
    } else {
        file = jobs.backlog.back();
        jobs.backlog.pop_back();
    }
    const TFileCheck check = CheckFile(file, jobs.thisHost);
    home_.Post([this, id = file.id, check, urgent] {
        emit Checked(id, check);
        if (urgent) {
            emit CheckedNow(id, check);
        }
    });
}

}  // namespace archive
