// What ve17-archive prints: data lines on stdout, tab-separated, for scripts; messages, the
// progress of long work (on a terminal only) and the closing summary on stderr.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QStringList>

namespace archive {

// One line of fields apart by tabs; a tab or a line break inside a field becomes a blank.
void PrintFields(const QStringList& fields);

// A message or a summary line.
void PrintMessage(const QString& text);

// "12 из 340" on the terminal's last line, rewritten at most ten times a second, and wiped
// when the work is done. Nothing when stderr is no terminal.
class TProgress {
  public:
    TProgress(QString what, qint64 total);
    ~TProgress();
    TProgress(const TProgress&) = delete;
    TProgress& operator=(const TProgress&) = delete;

    void Step(qint64 done);

  private:
    QString what_;
    qint64 total_;
    bool shown_;
    QElapsedTimer sinceShown_;
};

}  // namespace archive
