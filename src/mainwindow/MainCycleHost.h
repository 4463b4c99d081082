#pragma once
// The main window's side of a polling cycle: each step handed to the part of
// the window that owns it.
#include "acquisition/LineStatusReader.h"
#include "acquisition/LogLineBuilder.h"
#include "acquisition/PollingCycleHost.h"

#include <QMetaObject>
#include <QPointer>

class TForm1;
class TForm8;

class MainCycleHost : public PollingCycleHost {
public:
    explicit MainCycleHost(TForm1 &form);
    ~MainCycleHost() override;

    void systemMessage(const QString &text) override;
    void startLogLine() override;
    void preparePage(QString &page) override;
    void wanAddressStep(QString &page, Next next) override;
    void logHeaderStep(const QString &page) override;
    void dg834DetectionStep(const QString &page, bool firstCycle, Next next) override;
    void extractFigures(const QString &page) override;
    void uptimeStep(const QString &page) override;
    void gapStep(bool showGaps, bool isGap) override;
    void checkCameras() override;
    void telnetStep(bool firstCycle) override;
    void pingStep(Next next) override;
    void telnetAverageStep() override;
    void webImagesStep() override;
    void scheduledCapturesStep() override;
    TColor choosePointColour(bool noAnswer) override;
    TColor plotHttpStep(TColor colour) override;
    void alarmInputsStep() override;
    void logItemsAndTelnetChartsStep() override;
    void afterPingItemsStep() override;
    void writeLogStep() override;
    void changeAlarmsStep() override;
    void iconNoise(TColor colour) override;
    void connectionStep(Next next) override;
    void trayHintStep() override;
    void cancelSteps() override;

private:
    // The status page tab follows the polls; the 585's page is cut here.
    void pageViewerStep(QString &page);

    TForm1 &m_form;
    LineStatusReader m_lineStatus;
    LogLineBuilder m_logLine;
    Next m_pingNext; // the cycle waiting for this poll's ping
    QMetaObject::Connection m_pingConnection;
    QPointer<TForm8> m_dg834Question;
};
