#include "SoakOperator.h"

#include "SoakRecorder.h"

#include "control/Settings.h"
#include "mainwindow/MainWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

namespace {

// Rows of the control window's menu, in the form's order, and the page each
// row shows (its form's object name).
enum MenuRow {
    RowMode = 0,
    RowOffset = 1,
    RowSmooth = 2,
    RowLimit = 3,
    RowPps = 4,
    RowDateTime = 5,
    RowJournal = 7,
    RowAve = 8,
};
const char *const kPages[] = {"SYNCHR_command",      "OFFSET_command",   "SCONTROL_command",
                              "FREQDIFFlim_command", "PPS_SYNC_command", "DATETIME_command",
                              "QUAL_INTERVAL_command", "JOURNAL_command", "AVECONTROL_command"};

QString text(double value)
{
    return QString::number(value, 'g', 9);
}

}  // namespace

SoakOperator::SoakOperator(MainWindow &window, SoakRecorder &recorder, const QString &journalFolder,
                           quint64 seed, QObject *parent)
    : QObject(parent),
      m_window(window),
      m_recorder(recorder),
      m_journalFolder(journalFolder),
      m_random(quint32(seed)),
      m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &SoakOperator::act);
    m_actions = {
        {"open control window", 2, [this] { return openControl(); }},
        {"close control window", 1, [this] { return closeControl(); }},
        {"set frequency offset", 8, [this] { return setOffset(); }},
        {"set frequency trend", 4, [this] { return setDrift(); }},
        {"correct phase", 2, [this] { return correctPhase(); }},
        {"set frequency difference limit", 3, [this] { return setLimit(); }},
        {"start smooth steering", 3, [this] { return startSmooth(); }},
        {"cancel smooth steering", 1, [this] { return cancelSmooth(); }},
        {"change mode and channels", 3, [this] { return changeMode(); }},
        {"download journal", 5, [this] { return downloadJournal(); }},
        {"clear journal", 1, [this] { return clearJournal(); }},
        {"set AVE", 3, [this] { return setAve(); }},
        {"shift device clock", 2, [this] { return shiftClock(); }},
        {"synchronise 1PPS", 1, [this] { return syncPps(); }},
        {"search ports again", 1, [this] { return searchAgain(); }},
    };
}

void SoakOperator::start(int minGapMs, int maxGapMs)
{
    m_minGapMs = minGapMs;
    m_maxGapMs = qMax(minGapMs, maxGapMs);
    scheduleNext();
}

void SoakOperator::stop()
{
    m_timer->stop();
    m_actions.clear();
}

void SoakOperator::scheduleNext()
{
    m_timer->start(m_minGapMs + int(m_random.bounded(m_maxGapMs - m_minGapMs + 1)));
}

void SoakOperator::act()
{
    int total = 0;
    for (const Action &a : m_actions)
        total += a.weight;
    if (total == 0)
        return;
    int pick = int(m_random.bounded(total));
    for (const Action &a : m_actions) {
        pick -= a.weight;
        if (pick >= 0)
            continue;
        const bool done = a.run();
        m_recorder.note(QStringLiteral("action"),
                        {QString::fromLatin1(a.name), done ? QStringLiteral("done") : QStringLiteral("skipped")});
        break;
    }
    scheduleNext();
}

// --- the actions ------------------------------------------------------------

bool SoakOperator::openControl()
{
    if (m_window.controlWindow()->isVisible())
        return false;
    return click(m_window.findChild<QPushButton *>(QStringLiteral("pushButtonControl")));
}

bool SoakOperator::closeControl()
{
    Settings *control = m_window.controlWindow();
    if (!control->isVisible())
        return false;
    QTest::keyClick(control, Qt::Key_Escape);
    return !control->isVisible();
}

bool SoakOperator::enterValue(const char *tabName, const char *lineName, const char *boxName, double value)
{
    auto *field = find<QLineEdit>(lineName);
    auto *box = find<QDialogButtonBox>(boxName);
    if (!field || !box)
        return false;
    if (tabName)
        chooseTab(find<QTabWidget>("tabWidget"), find<QWidget>(tabName));
    type(field, text(value));
    return clickOk(box);
}

bool SoakOperator::setOffset()
{
    return showPage(RowOffset)
           && enterValue("freq_tab", "freq_newOffset_line", "freq_btnBox", freshValue(1e-11));
}

bool SoakOperator::setDrift()
{
    return showPage(RowOffset)
           && enterValue("drift_tab", "drift_newOffset_line", "drift_btnBox", freshValue(1e-15));
}

bool SoakOperator::correctPhase()
{
    if (!showPage(RowOffset))
        return false;
    chooseTab(find<QTabWidget>("tabWidget"), find<QWidget>("phase_tab"));
    auto *change = find<QPushButton>("phase_pBtn");
    click(change);  // "Change": the value becomes editable
    type(find<QAbstractSpinBox>("phase_newOffset_sBox"), QString::number(int(freshValue(100))));
    click(change);  // "Apply": the plan is shown
    return clickOk(find<QDialogButtonBox>("phase_btnBox"));
}

bool SoakOperator::setLimit()
{
    return showPage(RowLimit)
           && enterValue(nullptr, "fDiffLim_newValue_line", "fDiffLim_btnBox",
                         std::abs(freshValue(1e-10)));
}

bool SoakOperator::startSmooth()
{
    if (!showPage(RowSmooth))
        return false;
    type(find<QLineEdit>("sm_freqNewOffset_line"), text(freshValue(1e-12)));
    type(find<QAbstractSpinBox>("sm_numOfControls_sBox"), QString::number(2 + m_random.bounded(3)));
    type(find<QAbstractSpinBox>("sm_timeInterval_sBox"), QStringLiteral("10"));
    click(find<QPushButton>("sm_apply_pBtn"));
    return clickOk(find<QDialogButtonBox>("sm_btnBox"));
}

bool SoakOperator::cancelSmooth()
{
    return showPage(RowSmooth) && click(find<QPushButton>("cancel_pBtn"));
}

bool SoakOperator::changeMode()
{
    if (!showPage(RowMode))
        return false;
    if (m_random.bounded(3) == 0)
        click(find<QRadioButton>(m_random.bounded(2) ? "mode_RESERVE_rBtn" : "mode_SUMM_rBtn"));
    if (find<QRadioButton>("mode_RESERVE_rBtn")->isChecked()) {
        auto *reference = find<QComboBox>("reference_cBox");
        QTest::keyClick(reference, m_random.bounded(2) ? Qt::Key_Down : Qt::Key_Up);
        QTest::keyClick(find<QComboBox>("backUp1_cBox"), Qt::Key_Down);
    } else {
        const QString box = QStringLiteral("chan%1_chBox").arg(1 + m_random.bounded(4));
        click(m_window.controlWindow()->findChild<QCheckBox *>(box));
    }
    if (m_random.bounded(4) == 0)
        click(find<QCheckBox>("synchr_IsOn_chBox"));
    return clickOk(find<QDialogButtonBox>("buttonBox"));
}

bool SoakOperator::downloadJournal()
{
    if (!showPage(RowJournal))
        return false;
    auto *upload = find<QPushButton>("jour_upload_pBtn");
    if (!upload->isEnabled())
        return false;  // a download is still running
    type(find<QLineEdit>("jour_location_lineEdit"), m_journalFolder);
    return click(upload);
}

bool SoakOperator::clearJournal()
{
    // Now and then only: an empty journal has nothing left to download.
    if (m_random.bounded(4) != 0 || !showPage(RowJournal))
        return false;
    return click(find<QPushButton>("jour_clear_pBtn"));
}

bool SoakOperator::setAve()
{
    if (!showPage(RowAve))
        return false;
    auto *enabled = find<QCheckBox>("enabledAVE_chBox");
    if (!enabled->isChecked() || m_random.bounded(5) == 0)
        click(enabled);
    for (int channel = 1; channel <= 4; ++channel) {
        const QString name = QStringLiteral("newAVE_chan%1_line").arg(channel);
        type(m_window.controlWindow()->findChild<QLineEdit *>(name), text(freshValue(1e-13)));
    }
    return clickOk(find<QDialogButtonBox>("buttonBox"));
}

bool SoakOperator::shiftClock()
{
    if (!showPage(RowDateTime))
        return false;
    click(find<QPushButton>("changeDateTime_pBtn"));
    int seconds = int(m_random.bounded(119)) - 59;
    if (seconds == 0)
        seconds = 1;
    type(find<QAbstractSpinBox>("shift_seconds_sBox"), QString::number(seconds));
    return clickOk(find<QDialogButtonBox>("dateTime_btnBox"));
}

bool SoakOperator::syncPps()
{
    return showPage(RowPps) && click(find<QPushButton>("pps_sync_pBtn"));
}

bool SoakOperator::searchAgain()
{
    // Options, Device connection, search again, close; now and then only.
    auto *menuEntry = m_window.findChild<QAction *>(QStringLiteral("actionDevice_connection"));
    if (m_random.bounded(3) != 0 || !menuEntry)
        return false;
    menuEntry->trigger();
    const bool searched = click(m_window.findChild<QPushButton *>(QStringLiteral("upd_Btn")));
    click(m_window.findChild<QPushButton *>(QStringLiteral("closeBtn")));
    return searched;
}

// --- the widgets --------------------------------------------------------------

bool SoakOperator::showPage(int row)
{
    if (!m_window.controlWindow()->isVisible() && !openControl())
        return false;
    auto *menu = find<QTableWidget>("menu_tabWidget");
    const QModelIndex index = menu->model()->index(row, 0);
    menu->scrollTo(index);
    const QRect cell = menu->visualRect(index);
    if (!cell.isValid())
        return false;
    QTest::mouseClick(menu->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    const auto *page = m_window.controlWindow()->findChild<QWidget *>(QString::fromLatin1(kPages[row]));
    return page && page->isVisible();
}

template <typename T>
T *SoakOperator::find(const char *name) const
{
    const QString objectName = QString::fromLatin1(name);
    // The visible one, where several pages share a name.
    const auto all = m_window.controlWindow()->findChildren<T *>(objectName);
    for (T *w : all) {
        if (w->isVisible())
            return w;
    }
    return all.isEmpty() ? m_window.findChild<T *>(objectName) : all.first();
}

bool SoakOperator::click(QAbstractButton *button)
{
    if (!button || !button->isEnabled())
        return false;
    // A check box or radio button takes clicks on its mark and its text
    // only, which start at its left edge; a wide one is empty in the middle.
    const bool marked = qobject_cast<QCheckBox *>(button) || qobject_cast<QRadioButton *>(button);
    const QPoint at = marked ? QPoint(8, button->height() / 2) : button->rect().center();
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, at);
    return true;
}

bool SoakOperator::clickOk(QDialogButtonBox *box)
{
    return box && click(box->button(QDialogButtonBox::Ok));
}

void SoakOperator::type(QLineEdit *field, const QString &text)
{
    if (!field)
        return;
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

void SoakOperator::type(QAbstractSpinBox *box, const QString &text)
{
    if (!box)
        return;
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    // No Enter: in a dialog it would press the default button as well.
    QTest::keyClicks(box, text);
}

void SoakOperator::chooseTab(QTabWidget *tabs, QWidget *page)
{
    const int index = tabs && page ? tabs->indexOf(page) : -1;
    if (index < 0 || tabs->currentIndex() == index)
        return;
    QTabBar *bar = tabs->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
}

double SoakOperator::freshValue(double base)
{
    ++m_fresh;
    const double sign = m_random.bounded(2) ? 1.0 : -1.0;
    return sign * base * (1.0 + (m_fresh % 10000) / 10000.0);
}
