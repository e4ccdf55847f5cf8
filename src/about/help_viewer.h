// The help command: starts the help viewer on the recorder's help collection, one at a time.
#pragma once

#include <QObject>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

class THelpViewer : public QObject {
    Q_OBJECT

  public:
    explicit THelpViewer(QObject* parent = nullptr);
    ~THelpViewer() override;

    // Starts the viewer in the program's folder unless the viewer started last is still
    // running. The viewer lives on its own: the recorder neither waits for it nor closes it,
    // and a viewer that cannot start is not reported.
    void Show();

    // True while the viewer started last is running.
    bool IsRunning() const;

    // Replaces the viewer's program and arguments.
    void SetCommand(const QString& program, const QStringList& arguments);

    // Qt Assistant of this Qt, and the help collection beside the executable.
    static QString DefaultProgram();
    static QStringList DefaultArguments();

    // The viewer's environment: the recorder's own, with a Russian locale when the viewer's
    // Russian translation is among `translations` (the viewer takes its language from the
    // locale; the recorder itself reads none).
    static QProcessEnvironment Environment(const QProcessEnvironment& inherited,
                                           const QString& translations);

  private:
    void Watch(qint64 pid);

    QString program_;
    QStringList arguments_;
    int pidfd_ = -1;  // refers to the viewer started last, whatever becomes of its pid
};
