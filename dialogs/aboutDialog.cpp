#include "aboutDialog.h"

#include "ui_aboutDialog.h"

#include "ProgramVersion.h"

aboutDialog::aboutDialog(QWidget *parent)
    : QDialog(parent), ui(std::make_unique<Ui::aboutDialog>())
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    translate();
    showFace(Face::Device);
}

aboutDialog::~aboutDialog() = default;

void aboutDialog::setDeviceInfo(const QString &softwareVersNumber,
                                const QString &softwareVersDate, const QString &serialNumber,
                                const QString &comparatorVers,
                                const QString &outherComparatorVers,
                                const QString &PLIS_CPUvers, const QString &OSFvers)
{
    m_softwareVersNumber = softwareVersNumber;
    m_softwareVersDate = softwareVersDate;
    m_serialNumber = serialNumber;
    m_comparatorVers = comparatorVers;
    m_outherComparatorVers = outherComparatorVers;
    m_PLIS_CPUvers = PLIS_CPUvers;
    m_OSFvers = OSFvers;
    applyDeviceTexts();
}

void aboutDialog::on_showDevInfo()
{
    showFace(Face::Device);
    show();
    raise();
    activateWindow();
}

void aboutDialog::on_showProgInfo()
{
    showFace(Face::Program);
    show();
    raise();
    activateWindow();
}

void aboutDialog::translate()
{
    ui->retranslateUi(this);
    applyFaceTexts();
    applyDeviceTexts();
    ui->label_program->setText(programText());
}

void aboutDialog::on_pushButton_clicked()
{
    close();
}

void aboutDialog::showFace(Face face)
{
    m_face = face;
    applyFaceTexts();
    const bool device = face == Face::Device;
    ui->label_program->setVisible(!device);
    for (QLabel *label : {ui->serialNumber_lbl, ui->CPU_firmware_lbl, ui->PLIS_CPUver_lbl,
                          ui->comparatorVer_lbl, ui->outherComparator_ver_lbl, ui->OSFver_lbl})
        label->setVisible(device);
}

void aboutDialog::applyFaceTexts()
{
    if (m_face == Face::Device) {
        ui->label->setText(tr("MICROSTEPPER COMBINER SYNTHESIZER\n KSR-583"));
        setWindowTitle(tr("Device Information"));
    } else {
        ui->label->setText(tr("MONITOR\nKSR-583"));
        setWindowTitle(tr("Program Information"));
    }
}

void aboutDialog::applyDeviceTexts()
{
    ui->serialNumber_lbl->setText(tr("Serial number: ") + m_serialNumber);
    // Before any identification the line is its bare caption, without a
    // separator standing alone.
    const QString firmware = m_softwareVersNumber.isEmpty() && m_softwareVersDate.isEmpty()
                                 ? QString()
                                 : m_softwareVersNumber + " / " + m_softwareVersDate;
    ui->CPU_firmware_lbl->setText(tr("CPU Firmware version: ") + firmware);
    ui->PLIS_CPUver_lbl->setText(tr("PLIS CPU version: ") + m_PLIS_CPUvers);
    ui->comparatorVer_lbl->setText(tr("Comparator version: ") + m_comparatorVers);
    ui->outherComparator_ver_lbl->setText(tr("Outher Comparator version: ")
                                          + m_outherComparatorVers);
    ui->OSFver_lbl->setText(tr("OSF version: ") + m_OSFvers);
}

QString aboutDialog::programText() const
{
    return tr("Monitor KSR-583") + ' ' + QStringLiteral("v." KSR_PROGRAM_VERSION) + "\n"
           + tr("Monitoring and control of the KSR-583 microstepper combiner synthesizer.")
           + "\n\n" + tr("Time and Frequency Laboratory") + "\n"
           + tr("For help with the program or the instrument, contact the laboratory's "
                "instrument service.");
}
