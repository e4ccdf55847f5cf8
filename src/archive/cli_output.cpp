#include "archive/cli_output.h"

#include <unistd.h>

#include <cstdio>

namespace archive {
namespace {

// Whether a progress line is on the terminal's last line, to be wiped before other text.
bool progressShown = false;

void Write(std::FILE* to, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), to);
}

void WipeProgress() {
    if (progressShown) {
        Write(stderr, QStringLiteral("\r\033[K"));
        std::fflush(stderr);
        progressShown = false;
    }
}

}  // namespace

void PrintFields(const QStringList& fields) {
    QStringList clean;
    for (QString field : fields) {
        field.replace('\t', ' ').replace('\n', ' ').replace('\r', ' ');
        clean << field;
    }
    WipeProgress();
    Write(stdout, clean.join('\t') + '\n');
}

void PrintMessage(const QString& text) {
    WipeProgress();
    std::fflush(stdout);
    Write(stderr, text + '\n');
}

TProgress::TProgress(QString what, qint64 total)
    : what_(std::move(what)), total_(total), shown_(::isatty(STDERR_FILENO) == 1) {
    sinceShown_.start();
}

TProgress::~TProgress() {
    WipeProgress();
}

void TProgress::Step(qint64 done) {
    if (!shown_ || (!sinceShown_.hasExpired(100) && done != total_)) {
        return;
    }
    sinceShown_.restart();
    std::fflush(stdout);
    Write(stderr, QStringLiteral("\r%1: %2 из %3\033[K").arg(what_).arg(done).arg(total_));
    std::fflush(stderr);
    progressShown = true;
}

}  // namespace archive
