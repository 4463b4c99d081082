#include "chartimages/PollImages.h"

#include "chartimages/GraphImages.h"
#include "notify/CaptureSchedule.h"

#include <QFile>
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

std::vector<int> PollImages::closeCapturesStep()
{
    std::vector<int> written;
    const TSettings &s = m_settings;
    if (!(s.Capture.LastGraph && CaptureSchedule::captureFolderExists(s) && m_run.CaptureActive
          && (!s.Capture.LessThan || m_run.PointsPlotted >= s.Capture.LessThanValue)))
        return written;
    auto save = [&](int chart, const QString &mode) {
        if (CaptureSchedule::captureSwitch(s, chart) && CaptureSchedule::plotBoxChecked(s, chart)
            && m_images.Save(chart, mode).written())
            written.push_back(chart);
    };
    for (int chart : {1, 18, 2, 20, 3, 19})
        save(chart, QStringLiteral("Close"));
    if (s.Router.Telnet) {
        for (int chart : {16, 17, 5, 6, 7, 4, 8, 9, 12, 11, 10, 15, 14, 13, 23, 24, 30, 31})
            save(chart, QStringLiteral("Close"));
        for (int chart : {21, 22, 29})
            save(chart, QStringLiteral("Daily"));
    }
    save(25, QStringLiteral("Daily"));
    return written;
}

void PollImages::removeTemporaryWebImages()
{
    if (!m_settings.WebServer.DeleteTemp || m_images.webServing() != 0)
        return;
    for (int i = 1; i <= 20; ++i)
        if (const QString name = m_images.webImageName(i); !name.isEmpty())
            QFile::remove(name);
}
