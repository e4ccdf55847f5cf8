// The archive window's file work, on a thread of its own: checking archived files against their
// length and SHA-256, and reading a test file for its curve. The window asks for the checks of
// the rows it shows; the rows asked for last are checked first, and of a long backlog (rows
// scrolled past long ago) the oldest are given up. Reading a curve and a check for opening go
// before the backlog; of several curves asked for meanwhile only the last is read.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <vector>

#include "archive/archive.h"
#include "archive/file_state.h"
#include "archive/window_thread.h"

namespace archive {

// A test's load-time curve, read from its file.
struct TCurve {
    qint64 id = 0;              // the entry's
    std::vector<double> times;  // s
    std::vector<double> loads;  // kN
    QString error;              // why the file could not be read
    QString warning;            // fewer samples in the file than its header announces
};

inline constexpr int kCheckBacklog = 256;

class TFileJobs;

class TFileWork : public QObject {
    Q_OBJECT

  public:
    // `thisHost`: files saved on another PC are looked for where this one has them too.
    explicit TFileWork(const QString& thisHost, QObject* parent = nullptr);
    ~TFileWork() override;

    void Check(const std::vector<TStoredFile>& files);
    // Ahead of the backlog: answered by CheckedNow as well as Checked.
    void CheckNow(const TStoredFile& file);
    void ReadCurve(qint64 id, const QString& path);

  signals:
    void Checked(qint64 id, const archive::TFileCheck& check);
    void CheckedNow(qint64 id, const archive::TFileCheck& check);
    // Checks given up: asked for again when still wanted.
    void Dropped(const QList<qint64>& ids);
    void CurveRead(const archive::TCurve& curve);

  private:
    void Schedule(TFileJobs& jobs);
    void RunOne(TFileJobs& jobs);

    TTaskTarget home_;  // the results' way back to this object's thread
    TWorkerThread<TFileJobs> thread_;
};

}  // namespace archive
