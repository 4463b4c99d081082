#include "chartimages/PollImages.h"

#include "chartimages/GraphImages.h"
#include "notify/CaptureSchedule.h"

#include <QFileInfo>

PollImages::PollImages(GraphImages &images, TSettings &settings, RunState &run)
    : m_images(images), m_settings(settings), m_run(run)
{
}

std::vector<int> PollImages::webImagesStep(bool serverRunning)
{
    std::vector<int> written;
    if (!serverRunning && !m_settings.WebServer.ImageWithoutServer)
        return written;
    const QString folder = m_images.webFolder();
    if (folder.isEmpty() || !QFileInfo(folder).isDir() || m_images.webServing() != 0)
        return written;
    for (int chart : CaptureSchedule::webImageCharts(m_settings)) {
        if (m_images.WebSave(chart, chart).written())
            written.push_back(chart);
    }
    return written;
}

std::vector<int> PollImages::scheduledCapturesStep()
{
    std::vector<int> written;
    const bool folderExists = CaptureSchedule::captureFolderExists(m_settings);
    if (m_run.PointsPlotted >= m_settings.System.Points - 5 && folderExists && m_run.CaptureActive) {
        for (int chart : CaptureSchedule::autoCaptureCharts(m_settings)) {
            if (m_images.Save(chart, QStringLiteral("Auto")).written())
                written.push_back(chart);
        }
    }
    BitsRefreshState &bits = m_images.bitsRefresh();
    if (m_settings.Router.ST585 && bits.ThomsonRefreshesSinceCapture >= bits.ThomsonChartSpan && folderExists
        && m_run.CaptureActive && m_settings._585Telnet.ThomsonBitswapTimeCap && bits.ThomsonChartSpan > 5) {
        if (m_images.Save(28, QStringLiteral("Auto")).written())
            written.push_back(28);
        bits.ThomsonRefreshesSinceCapture = 0;
    }
    return written;
}
