#pragma once

#include <QDialog>
#include <QString>

#include <memory>

namespace Ui {
class aboutDialog;
}

// The about box with two faces: the identification of the connected
// instrument and the program's own name, version and contact block. The
// identification is kept after the link loses the instrument, so the
// operator can still read which instrument was connected last.
class aboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit aboutDialog(QWidget *parent = nullptr);
    ~aboutDialog() override;

public slots:
    void setDeviceInfo(const QString &softwareVersNumber, const QString &softwareVersDate,
                       const QString &serialNumber, const QString &comparatorVers,
                       const QString &outherComparatorVers, const QString &PLIS_CPUvers,
                       const QString &OSFvers);
    void on_showDevInfo();
    void on_showProgInfo();
    void translate();

private slots:
    void on_pushButton_clicked();

private:
    enum class Face { Device, Program };

    void showFace(Face face);
    void applyFaceTexts();
    void applyDeviceTexts();
    QString programText() const;

    std::unique_ptr<Ui::aboutDialog> ui;
    Face m_face = Face::Device;

    QString m_softwareVersNumber;
    QString m_softwareVersDate;
    QString m_serialNumber;
    QString m_comparatorVers;
    QString m_outherComparatorVers;
    QString m_PLIS_CPUvers;
    QString m_OSFvers;
};
