#pragma once

#include "history/StabilityJob.h"

#include <QStringList>
#include <QWidget>

#include <memory>

class QCustomPlot;

namespace Ui {
class StabilityPage;
}

// The History window's Stability page: the operator chooses the series, the
// statistics, the spacing of tau and the interval analysed; the page shows
// what comes back, with the information line above the plot, and exports
// the table and the analysed series. The window runs the computations.
class StabilityPage : public QWidget
{
    Q_OBJECT

public:
    explicit StabilityPage(QWidget *parent = nullptr);
    ~StabilityPage() override;

    void setChannelNames(const QStringList &names);
    // Where the exports are suggested.
    void setExportFolder(const QString &folder) { m_folder = folder; }

    // What the choices ask for over `range`.
    StabilityRequest request(TimeRange range) const;
    // The shown result answers `request`.
    bool shows(const StabilityRequest &request) const;
    void showComputing();
    // `rangeText`: the range in the interface language, for the title.
    void showResult(const StabilityResult &result, const QString &rangeText);
    const StabilityResult &result() const { return m_result; }
    QCustomPlot *plot() const;

signals:
    // The operator changed what is to be analysed.
    void choiceChanged();
    // The analysed series is to be written to `path` (a worker's job).
    void seriesExportChosen(const QString &path);
    void readout(const QString &text);
    void saved(const QString &path, const QString &error);
    void status(const QString &text, bool error);

protected:
    void changeEvent(QEvent *event) override;

private slots:
    void on_exportTableButton_clicked();
    void on_exportSeriesButton_clicked();

private:
    void fillSeriesCombo();
    void fillIntervalCombo();
    QVector<Deviation::Kind> chosenKinds() const;
    QString suggestedName(const QString &what, const QString &suffix) const;
    QString seriesName(Series::Id series) const;

    std::unique_ptr<Ui::StabilityPage> ui;
    QStringList m_channelNames;
    QString m_folder;
    StabilityResult m_result;
    bool m_hasResult = false;
};
