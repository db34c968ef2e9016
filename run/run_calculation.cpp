#include "run_calculation.h"

#include "plot/field_plot.h"
#include "runtime/integer.h"
#include "runtime/lenient_number.h"

#include <algorithm>
#include <cmath>

namespace kestrel {

namespace {

class DisplayEveryInterval : public StepObserver {
  public:
    DisplayEveryInterval(SimulationState& m, Host& host, Surface& picture, SaveDialogState& dialog,
                         long long interval)
        : m_(m), host_(host), picture_(picture), dialog_(dialog), interval_(interval) {}

    bool stepDone(int n, const StepReport&) override {
        if (n % interval_ != 0) return true;
        if (ShowResult(m_, host_, picture_)) host_.runDisplayed(n);
        const std::string caption = StepCaption(n);
        host_.showStatus(caption);
        if (host_.confirmEachDisplay()) {
            switch (host_.message(caption + "表示画像を保存しますか。", Buttons::YesNoCancel)) {
            case Answer::Yes:
                SavePicture(host_, picture_, dialog_);
                return true;
            case Answer::Cancel:
                return false;
            default:
                return true;
            }
        }
        picture_.refresh();
        host_.processEvents();
        return true;
    }

  private:
    SimulationState& m_;
    Host& host_;
    Surface& picture_;
    SaveDialogState& dialog_;
    long long interval_;
};

} // namespace

std::string StepCaption(int n) {
    return "計算結果 " + std::to_string(n) + "回目";
}

namespace {

// Beyond any step count an Integer can hold, an interval means "never".
constexpr double kNever = 1.0e9;

} // namespace

long long DisplayIntervalOf(double value) {
    if (std::isnan(value)) return 0;
    return static_cast<long long>(std::min(std::fabs(RoundHalfEven(value)), kNever));
}

long long DisplayInterval(const std::string& text) {
    const LenientValue v = ReadLeadingNumber(text);
    if (v.overflow) return static_cast<long long>(kNever);
    return DisplayIntervalOf(v.value);
}

RunEnd RunCalculation(SimulationState& m, Host& host, Surface& picture, SaveDialogState& dialog) {
    const long long interval = DisplayInterval(host.displayIntervalText());
    if (interval == 0) {
        host.message("計算を開始できません。表示間隔が 0 です。1 以上の値を入力してください。",
                     Buttons::Ok);
        return RunEnd::Refused;
    }
    DisplayEveryInterval display(m, host, picture, dialog, interval);
    const RunEnd end = RunTimeSteps(m, host, display);
    if (end == RunEnd::Diverged) ShowResult(m, host, picture); // the last finite field
    return end;
}

} // namespace kestrel
