#include "SYNCHR_command.h"
#include "ui_SYNCHR_command.h"

#include <QDebug>

#include <algorithm>

namespace {

constexpr int kChannels = 4;
constexpr int kNone = 0;

QString yesNo(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

}  // namespace

SYNCHR_command::SYNCHR_command(SyncControlInfo *sync, authentication *access, QWidget *parent)
    : QWidget(parent), ui(new Ui::SYNCHR_command), m_sync(sync), m_access(access)
{
    ui->setupUi(this);
    for (int channel = 1; channel <= kChannels; ++channel) {
        m_names.append(tr("Channel %1").arg(channel));
        m_available.append(channel);
    }
    fill(ui->reference_cBox, m_available, false);
    applyReference(kNone, kNone, kNone);
    ui->synchr_IsOn_chBox->setChecked(false);
    rememberChannels();
    showMode('1');
}

SYNCHR_command::~SYNCHR_command()
{
    delete ui;
}

// --- widgets and channel lists --------------------------------------------

QComboBox *SYNCHR_command::backupBox(int index) const
{
    QComboBox *boxes[] = {ui->backUp1_cBox, ui->backUp2_cBox, ui->backUp3_cBox};
    return boxes[index];
}

QCheckBox *SYNCHR_command::includedBox(int index) const
{
    QCheckBox *boxes[] = {ui->chan1_chBox, ui->chan2_chBox, ui->chan3_chBox, ui->chan4_chBox};
    return boxes[index];
}

QLabel *SYNCHR_command::channelLabel(int index) const
{
    QLabel *labels[] = {ui->chan1_lbl, ui->chan2_lbl, ui->chan3_lbl, ui->chan4_lbl};
    return labels[index];
}

QString SYNCHR_command::channelName(int channel) const
{
    return channel == kNone ? tr("No") : m_names.value(channel - 1);
}

void SYNCHR_command::fill(QComboBox *box, const QVector<int> &channels, bool withNone) const
{
    box->clear();
    for (int channel : channels)
        box->addItem(channelName(channel), channel);
    if (withNone)
        box->addItem(channelName(kNone), kNone);
}

int SYNCHR_command::channelOf(const QComboBox *box)
{
    return box->currentData().toInt();
}

// A channel that is no longer offered falls back to "No" (or to the first
// channel in the reference box, which has no "No").
void SYNCHR_command::select(QComboBox *box, int channel)
{
    int index = box->findData(channel);
    if (index < 0)
        index = qMax(box->findData(kNone), 0);
    box->setCurrentIndex(index);
}

QVector<int> SYNCHR_command::availableExcept(std::initializer_list<int> taken) const
{
    QVector<int> rest;
    for (int channel : m_available) {
        if (std::find(taken.begin(), taken.end(), channel) == taken.end())
            rest.append(channel);
    }
    return rest;
}

// --- the cascade -------------------------------------------------------------

void SYNCHR_command::applyReference(int backup1, int backup2, int backup3)
{
    const int reference = channelOf(ui->reference_cBox);
    const QVector<int> rest = availableExcept({reference});
    const int previous[3] = {backup1, backup2, backup3};
    bool taken = false;  // a backup became the reference: it and those after it go
    for (int i = 0; i < 3; ++i) {
        taken = taken || (reference != kNone && previous[i] == reference);
        fill(backupBox(i), rest, true);
        select(backupBox(i), taken ? kNone : previous[i]);
    }
    applyBackup1();
}

void SYNCHR_command::applyBackup1()
{
    const int backup1 = channelOf(ui->backUp1_cBox);
    if (backup1 == kNone) {
        for (QComboBox *box : {ui->backUp2_cBox, ui->backUp3_cBox}) {
            select(box, kNone);
            box->setEnabled(false);
        }
        return;
    }
    ui->backUp2_cBox->setEnabled(true);
    int backup2 = channelOf(ui->backUp2_cBox);
    int backup3 = channelOf(ui->backUp3_cBox);
    if (backup2 == backup1)
        backup2 = backup3 = kNone;
    const QVector<int> rest = availableExcept({channelOf(ui->reference_cBox), backup1});
    fill(ui->backUp2_cBox, rest, true);
    fill(ui->backUp3_cBox, rest, true);
    select(ui->backUp2_cBox, backup2);
    select(ui->backUp3_cBox, backup3);
    applyBackup2();
}

void SYNCHR_command::applyBackup2()
{
    const int backup2 = channelOf(ui->backUp2_cBox);
    if (backup2 == kNone) {
        select(ui->backUp3_cBox, kNone);
        ui->backUp3_cBox->setEnabled(false);
        return;
    }
    ui->backUp3_cBox->setEnabled(true);
    const int backup3 = channelOf(ui->backUp3_cBox);
    fill(ui->backUp3_cBox,
         availableExcept({channelOf(ui->reference_cBox), channelOf(ui->backUp1_cBox), backup2}), true);
    select(ui->backUp3_cBox, backup3 == backup2 ? kNone : backup3);
}

void SYNCHR_command::on_reference_cBox_activated(const QString &)
{
    applyReference(channelOf(ui->backUp1_cBox), channelOf(ui->backUp2_cBox),
                   channelOf(ui->backUp3_cBox));
}

void SYNCHR_command::on_backUp1_cBox_activated(const QString &)
{
    applyBackup1();
}

void SYNCHR_command::on_backUp2_cBox_activated(const QString &)
{
    applyBackup2();
}

// --- mode ------------------------------------------------------------------

void SYNCHR_command::showMode(char mode)
{
    const bool switching = mode == '2';
    ui->mode_RESERVE_rBtn->setChecked(switching);
    ui->mode_SUMM_rBtn->setChecked(!switching);
    ui->mode_RESERVE_gBox->setVisible(switching);
    ui->mode_SUMM_gBox->setVisible(!switching);
    if (!switching)
        ui->mode_SUMM_gBox->move(10, 40);
}

void SYNCHR_command::on_mode_RESERVE_rBtn_clicked(bool checked)
{
    if (checked)
        showMode('2');
}

void SYNCHR_command::on_mode_SUMM_rBtn_clicked(bool checked)
{
    if (checked)
        showMode('1');
}

// --- OK and Cancel ------------------------------------------------------------

void SYNCHR_command::rememberChannels()
{
    m_saved.reference = channelOf(ui->reference_cBox);
    for (int i = 0; i < 3; ++i)
        m_saved.backup[i] = channelOf(backupBox(i));
    m_saved.sync = ui->synchr_IsOn_chBox->isChecked();
}

void SYNCHR_command::on_buttonBox_accepted()
{
    const int previousReference = m_saved.reference;
    const char previousMode = m_saved.mode;
    char mode = previousMode;
    if (ui->mode_RESERVE_rBtn->isChecked())
        mode = '2';
    else if (ui->mode_SUMM_rBtn->isChecked())
        mode = '1';

    rememberChannels();
    for (int i = 0; i < kChannels; ++i)
        m_saved.included[i] = includedBox(i)->isChecked();
    m_saved.mode = mode;

    const bool modeChanged = mode != previousMode;
    if (modeChanged) {
        m_sync->modeNew = mode;
        emit sendCommand(COMMAND_SET_MODE);
    }
    if (mode == '2')
        sendChannels(!modeChanged, previousReference);
    else if (mode == '1')
        sendInclusion();

    const bool on = ui->synchr_IsOn_chBox->isChecked();
    if ((m_sync->syncStatus == 0 && on) || (m_sync->syncStatus == 1 && !on)) {
        m_sync->SyncIsOn = on;
        emit sendCommand(COMMAND_SET_SYNC_STATUS);
        qDebug().noquote() << QStringLiteral("COMMAND_SET_SYNC_STATUS: SyncIsOn = ") + yesNo(on);
    }
}

bool SYNCHR_command::deviceHasAssignment() const
{
    const auto statusOf = [this](int channel) {
        return channel >= 1 && channel <= kChannels ? m_sync->stat[channel - 1] : -1;
    };
    if (statusOf(m_saved.reference) != 10)
        return false;
    for (int i = 0; i < 3; ++i) {
        if (statusOf(m_saved.backup[i]) != 11 + i)
            return false;
    }
    return true;
}

void SYNCHR_command::sendChannels(bool unlessDeviceHasThem, int previousReference)
{
    if (unlessDeviceHasThem && deviceHasAssignment())
        return;
    m_sync->Ref_Chan = m_saved.reference;
    m_sync->BackUp1_Chan = m_saved.backup[0];
    m_sync->BackUp2_Chan = m_saved.backup[1];
    m_sync->BackUp3_Chan = m_saved.backup[2];
    if (m_saved.reference != previousReference)
        emit sendCommand(COMMAND_MASTER_CHAN);
    emit sendCommand(COMMAND_SET_SYNC_CHLIST);
    qDebug().noquote() << QStringLiteral("COMMAND_SET_SYNC_CHLIST: Ref = %1,  BackUp1 = %2,  "
                                         "BackUp2 = %3,  BackUp3 = %4")
                              .arg(m_sync->Ref_Chan)
                              .arg(m_sync->BackUp1_Chan)
                              .arg(m_sync->BackUp2_Chan)
                              .arg(m_sync->BackUp3_Chan);
}

void SYNCHR_command::sendInclusion()
{
    QString trace = QStringLiteral("COMMAND_SET_CHAN_STAT: ");
    for (int i = 0; i < kChannels; ++i) {
        m_sync->chanIncluded[i] = m_saved.included[i];
        trace += QStringLiteral("%1Chan%2 stat = %3")
                     .arg(i == 0 ? QString() : QStringLiteral(",  "))
                     .arg(i + 1)
                     .arg(yesNo(m_saved.included[i]));
    }
    emit sendCommand(COMMAND_SET_CHAN_STAT);
    qDebug().noquote() << trace;
}

void SYNCHR_command::on_cancel_pBtn_clicked()
{
    showMode(m_saved.mode);
    select(ui->reference_cBox, m_saved.reference);
    for (int i = 0; i < kChannels; ++i)
        includedBox(i)->setChecked(m_saved.included[i]);
    ui->synchr_IsOn_chBox->setChecked(m_saved.sync);
    applyReference(m_saved.backup[0], m_saved.backup[1], m_saved.backup[2]);
}

// --- device state ------------------------------------------------------------

void SYNCHR_command::openPage()
{
    if (m_sync->modeCur == '1' || m_sync->modeCur == '2') {
        showMode(m_sync->modeCur);
        m_saved.mode = m_sync->modeCur;
    }
    refreshFromDevice();
    set_signalInGroupStatus();
}

void SYNCHR_command::set_syncAndChanStatus()
{
    // Never overwrite what the operator is choosing and has not sent yet.
    if (isVisible())
        return;
    refreshFromDevice();
}

void SYNCHR_command::refreshFromDevice()
{
    m_available = {1, 2, 3, 4};
    if (m_sync->syncStatus == 1)
        ui->synchr_IsOn_chBox->setChecked(true);
    else if (m_sync->syncStatus == 0)
        ui->synchr_IsOn_chBox->setChecked(false);

    // The device's reference is the channel in the group; while none is,
    // the one being qualified.
    int reference = channelOf(ui->reference_cBox);
    for (int wanted : {3, 5}) {
        const auto *begin = m_sync->stat;
        const auto *found = std::find(begin, begin + kChannels, wanted);
        if (found != begin + kChannels) {
            reference = int(found - begin) + 1;
            break;
        }
    }
    int backups[3];
    for (int i = 0; i < 3; ++i)
        backups[i] = channelOf(backupBox(i));
    for (int channel = 1; channel <= kChannels; ++channel) {
        const int status = m_sync->stat[channel - 1];
        if (status >= 11 && status <= 13)
            backups[status - 11] = channel;
    }
    for (int channel = kChannels; channel >= 1; --channel) {
        if (m_sync->stat[channel - 1] == 0)
            m_available.removeAll(channel);
    }

    fill(ui->reference_cBox, m_available, false);
    select(ui->reference_cBox, reference);
    applyReference(backups[0], backups[1], backups[2]);
    rememberChannels();
}

void SYNCHR_command::set_signalInGroupStatus()
{
    for (int i = 0; i < kChannels; ++i) {
        // A channel that comes back must be selectable again.
        const bool available = m_sync->chanAvailable[i] != 0;
        includedBox(i)->setEnabled(available);
        channelLabel(i)->setEnabled(available);
        includedBox(i)->setChecked(available && m_sync->stat[i] >= 2);
        m_saved.included[i] = includedBox(i)->isChecked();
    }
}

void SYNCHR_command::set_channelStatus()
{
    m_available.clear();
    for (int channel = 1; channel <= kChannels; ++channel) {
        if (m_sync->chanAvailable[channel - 1] != 0)
            m_available.append(channel);
    }
}

void SYNCHR_command::set_channelNames(const QStringList &names)
{
    m_names = names.mid(0, kChannels);
    while (m_names.size() < kChannels)
        m_names.append(tr("Channel %1").arg(m_names.size() + 1));
    m_available = {1, 2, 3, 4};
    // Relabel in place: the selection is kept by channel number.
    for (QComboBox *box : {ui->reference_cBox, ui->backUp1_cBox, ui->backUp2_cBox, ui->backUp3_cBox}) {
        for (int i = 0; i < box->count(); ++i)
            box->setItemText(i, channelName(box->itemData(i).toInt()));
    }
}

void SYNCHR_command::translate()
{
    ui->retranslateUi(this);
    for (int i = 0; i < 3; ++i) {
        QComboBox *box = backupBox(i);
        box->setItemText(box->findData(kNone), channelName(kNone));
    }
}
