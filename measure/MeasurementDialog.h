// The measurement dialog: the instrument's live measurement polled once a
// second with its flow trend chart and recording (on the instrument), or the
// records of a measurement file one at a time (on a file).
#pragma once

#include "Binding.h"
#include "DialogContext.h"
#include "MeasurementFile.h"
#include "MeasurementPoller.h"
#include "TemplateDialog.h"

#include <array>
#include <vector>

namespace vantor {

class TrendChart;

class MeasurementDialog : public TemplateDialog {
    Q_OBJECT
public:
    static constexpr int kHistorySize = 200;

    MeasurementDialog(const DialogContext& context, QWidget* owner);
    ~MeasurementDialog() override;

    // Starts the polling, or opens the file and shows its first record; false
    // when the file is refused and the dialog must close at once.
    bool opening();
    int run();

    // The timer's tick: one poll, unless one is already running.
    void poll();

    const std::array<float, kHistorySize>& flowHistory() const { return m_flowHistory; }
    const MeasurementRecorder& recorder() const { return m_recorder; }
    TrendChart* chart() const { return m_chart; }

protected:
    // Closing a live measurement says on the status line how it ended.
    void done(int result) override;

private:
    void refresh();
    // Values of a poll that failed are greyed until a poll succeeds again.
    void showValuesLive(bool live);
    void recordStep();
    void startRecording();
    void stopRecording();
    void showRecord();
    void showRecordedFlows();
    void setNavigationButtons();
    void moveTo(int64_t record);
    void print();
    void convert();

    DialogContext m_context;
    MeasurementPoller m_poller;
    bool m_pollBusy = false;
    // Since the last good poll after a failure (or the first): the status line says so once.
    bool m_measuring = false;
    bool m_polling = false;  // on the instrument, until the window closes
    long long m_goodPolls = 0;
    long long m_failedPolls = 0;
    std::array<float, kHistorySize> m_flowHistory{};
    MeasurementRecorder m_recorder;
    MeasurementFileGeometry m_replay;
    std::vector<uint8_t> m_replayFrame;  // the record shown, as the file holds it
    int64_t m_cursor = 0;
    ChoiceList m_probeList{};
    std::vector<ChoiceBinding> m_choices;
    TrendChart* m_chart = nullptr;
};

}  // namespace vantor
