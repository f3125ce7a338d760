#pragma once

#include <QObject>
#include <QRandomGenerator>
#include <QString>

#include <functional>
#include <vector>

class MainWindow;
class QAbstractButton;
class QAbstractSpinBox;
class QDialogButtonBox;
class QLineEdit;
class QTabWidget;
class QTimer;
class QWidget;
class SoakRecorder;

// Plays the operator: at random moments it does one random thing in the
// running program the way a person would, through the widgets of the main
// window and the control window (clicks, typing, menu rows). Every value it
// sets is new, so that each can be followed to the instrument and back into
// the program log.
class SoakOperator : public QObject
{
    Q_OBJECT

public:
    SoakOperator(MainWindow &window, SoakRecorder &recorder, const QString &journalFolder,
                 quint64 seed, QObject *parent = nullptr);

    // One action every `minGapMs` to `maxGapMs` until stop().
    void start(int minGapMs, int maxGapMs);
    void stop();

private:
    struct Action {
        const char *name;
        int weight;
        std::function<bool()> run;  // false: nothing to do at the moment
    };

    void act();
    void scheduleNext();

    // What an operator does.
    bool openControl();
    bool closeControl();
    bool setOffset();
    bool setDrift();
    bool correctPhase();
    bool setLimit();
    bool startSmooth();
    bool cancelSmooth();
    bool changeMode();
    bool downloadJournal();
    bool clearJournal();
    bool setAve();
    bool shiftClock();
    bool syncPps();
    bool searchAgain();

    // How it does it.
    bool showPage(int row);
    // Types `value` into a field and presses OK; `tabName` is the field's
    // tab, chosen first (none for a page without tabs).
    bool enterValue(const char *tabName, const char *lineName, const char *boxName, double value);
    template <typename T>
    T *find(const char *name) const;
    static bool click(QAbstractButton *button);
    static bool clickOk(QDialogButtonBox *box);
    static void type(QLineEdit *field, const QString &text);
    static void type(QAbstractSpinBox *box, const QString &text);
    static void chooseTab(QTabWidget *tabs, QWidget *page);
    // A value never used before in this run: `base` times 1.000 .. 1.999.
    double freshValue(double base);

    MainWindow &m_window;
    SoakRecorder &m_recorder;
    QString m_journalFolder;
    QRandomGenerator m_random;
    QTimer *m_timer;
    int m_minGapMs = 3000;
    int m_maxGapMs = 8000;
    int m_fresh = 0;
    std::vector<Action> m_actions;
};
