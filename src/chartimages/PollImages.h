#pragma once
// The two image steps of a poll, made before the poll's points are added so
// the images show the charts up to the previous poll: the web folder's images
// and the scheduled ("Auto") captures. Also the images' part of closing.
#include "acquisition/RunState.h"
#include "settings/TSettings.h"

#include <vector>

class GraphImages;

class PollImages {
public:
    PollImages(GraphImages &images, TSettings &settings, RunState &run);

    // The web images, when the web server runs (or [WebServer]
    // ImageWithoutServer is set), the web page's folder exists and no web
    // request is in progress. Returns the charts whose image was written.
    std::vector<int> webImagesStep(bool serverRunning);

    // After CheckCameras: the "Auto" captures, when PointsPlotted has reached
    // [System] Points - 5, the capture folder exists and CaptureActive is set;
    // then the SpeedTouch 585's bitswaps-over-time capture by its own rule.
    // Returns the charts whose image was written.
    std::vector<int> scheduledCapturesStep();

    // The captures on close ([Capture] LastGraph), when the capture folder
    // exists, CaptureActive is set and enough points were plotted. Returns the
    // charts whose image was written.
    std::vector<int> closeCapturesStep();

    // The temporary web images go ([WebServer] DeleteTemp), unless a browser
    // is reading one right now.
    void removeTemporaryWebImages();

private:
    GraphImages &m_images;
    TSettings &m_settings;
    RunState &m_run;
};
