// The soak driver: runs the real main window (real serial ports, real clock)
// in a working folder prepared by scripts/soak.sh, plays an operator on it,
// and writes down what the program reports (SoakRecorder). It closes the
// window the way an operator does when a file named "stop" appears in the
// folder, after saving pictures of the windows as they were.
//
//   ksr583-soak-driver --dir DIR [--act-for SEC] [--seed N] [--gap MIN_MS MAX_MS]

#include "SoakOperator.h"
#include "SoakRecorder.h"

#include "control/Settings.h"
#include "dialogs/MessageBox.h"
#include "mainwindow/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTextCodec>
#include <QTextStream>
#include <QTimer>

namespace {

struct Options {
    QString dir;
    int actForS = 60;
    quint64 seed = 1;
    int minGapMs = 2000;
    int maxGapMs = 6000;
};

bool parse(const QStringList &args, Options *o)
{
    for (int i = 1; i < args.size(); ++i) {
        const QString &a = args.at(i);
        const QString next = args.value(i + 1);
        if (a == QLatin1String("--dir") && !next.isEmpty()) {
            o->dir = next;
            ++i;
        } else if (a == QLatin1String("--act-for") && !next.isEmpty()) {
            o->actForS = next.toInt();
            ++i;
        } else if (a == QLatin1String("--seed") && !next.isEmpty()) {
            o->seed = next.toULongLong();
            ++i;
        } else if (a == QLatin1String("--gap") && i + 2 < args.size()) {
            o->minGapMs = args.at(i + 1).toInt();
            o->maxGapMs = args.at(i + 2).toInt();
            i += 2;
        } else {
            return false;
        }
    }
    return !o->dir.isEmpty();
}

}  // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("utf8"));
    Options options;
    if (!parse(app.arguments(), &options)) {
        QTextStream(stderr) << "usage: ksr583-soak-driver --dir DIR [--act-for SEC] [--seed N]"
                               " [--gap MIN_MS MAX_MS]\n";
        return 2;
    }
    // The program reads "fconn583.ini" from its current folder.
    if (!QDir::setCurrent(options.dir)) {
        QTextStream(stderr) << "ksr583-soak-driver: no folder " << options.dir << '\n';
        return 2;
    }
    const QDir dir(QDir::currentPath());
    // An operator answers every message box; here it is answered at once.
    MessageBox::setAutoAnswer(true);

    MainWindow window;
    window.show();
    SoakRecorder recorder(window, dir.filePath(QStringLiteral("driver-events.tsv")),
                          dir.filePath(QStringLiteral("heartbeat")));
    recorder.note(QStringLiteral("start"), {QString::number(QCoreApplication::applicationPid())});
    SoakOperator op(window, recorder, dir.filePath(QStringLiteral("Journal")), options.seed);
    op.start(options.minGapMs, options.maxGapMs);

    QElapsedTimer running;
    running.start();
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (running.elapsed() >= qint64(options.actForS) * 1000)
            op.stop();
        if (!QFile::exists(dir.filePath(QStringLiteral("stop"))))
            return;
        watch.stop();
        op.stop();
        // What the operator saw last, for whoever reads a failed run.
        window.grab().save(dir.filePath(QStringLiteral("screen-main.png")));
        if (window.controlWindow()->isVisible())
            window.controlWindow()->grab().save(dir.filePath(QStringLiteral("screen-control.png")));
        recorder.note(QStringLiteral("closing"));
        window.close();
        recorder.note(QStringLiteral("closed"));
        app.quit();
    });
    watch.start(500);

    const int rc = app.exec();
    recorder.note(QStringLiteral("exit"), {QString::number(rc)});
    return rc;
}
