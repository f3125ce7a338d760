#pragma once

#include "history/HistoryLoader.h"

#include <QPointer>
#include <QSaveFile>

#include <memory>

class ServiceConnection;

// The History window's source in a window attached to a service on another
// computer: every request goes through the connection and the service reads
// its own history. Exports come in pieces, each asked for once the one
// before is written, into a file on this computer that appears only when
// complete. Lives on the window's thread: nothing here blocks.
class RemoteHistory : public HistorySource
{
    Q_OBJECT

public:
    explicit RemoteHistory(ServiceConnection *connection, QObject *parent = nullptr);
    ~RemoteHistory() override;

    bool blocks() const override { return false; }
    void want(int id) override;
    void stop() override;

    void loadView(const ViewRequest &request) override;
    void computeStability(int id, const StabilityRequest &request, int generation) override;
    void exportSeries(int id, const StabilityResult &result, int generation, const QString &path) override;
    void exportCsv(int id, TimeRange range, const QString &path) override;

private:
    struct Export {
        int id = 0;
        bool series = false;
        TimeRange range;             // readings
        StabilityRequest request;    // series
        int generation = 0;
        std::unique_ptr<QSaveFile> file;
        qint64 rows = 0;
    };

    bool mine(int id) const { return id != 0 && (id == m_viewId || id == m_stabilityId || id == m_export.id); }
    // Sends, or answers `id` at once that the service cannot be asked.
    bool ask(int id, const QByteArray &message);
    void startExport(int id, const QString &path);
    void askNext(ExportCursor from);
    void onChunk(int id, const ExportChunk &chunk);
    void onUnavailable(int id, const QString &reason);
    void endExport(const QString &error);
    void connectionLost();

    QPointer<ServiceConnection> m_connection;
    int m_viewId = 0;
    int m_stabilityId = 0;
    Export m_export;
};
