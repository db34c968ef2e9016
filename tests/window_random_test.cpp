// A seeded random user of the main window: clicks, hostile text in the
// fields, option changes, short runs with edits while they step, the editor
// and the viewer opened, used and closed. Nothing may leave a handler, and
// the state must stay consistent: while a run steps, its arrays cover the
// mesh; whenever no run goes on, every field in use is what the state holds.
// KESTREL_DRIVER_SEED replays a seed.
#include "runtime/lenient_number.h"
#include "solver/time_step.h"
#include "support/field_bits.h"
#include "support/window_test.h"

#include <QFile>
#include <QListWidget>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <optional>
#include <random>

namespace kestrel {
namespace {

unsigned driverSeed() {
    const char* text = std::getenv("KESTREL_DRIVER_SEED");
    return text ? static_cast<unsigned>(std::strtoul(text, nullptr, 10)) : 1207u;
}

class RandomUser {
  public:
    RandomUser(unsigned seed, SimulationState& m, MainWindow& w, test::ModalAnswerer& answerer)
        : random_(seed), m_(m), w_(w), answerer_(answerer) {}

    static constexpr QMessageBox::StandardButton kAnswers[] = {
        QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel, QMessageBox::Ok};
    template <typename List> auto pick(const List& list) {
        return list[std::uniform_int_distribution<std::size_t>(0, std::size(list) - 1)(random_)];
    }
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    void act() {
        answerer_.buttons.clear();
        for (int k = 0; k < 6; ++k)
            answerer_.buttons.push_back(pick(kAnswers));
        switch (below(10)) {
        case 0:
        case 1:
            return typeIntoAField();
        case 2:
            return clickAButton();
        case 3:
            return clickAnOption();
        case 4:
            return useThePicture();
        case 5:
            return run();
        case 6:
            return useTheEditor();
        case 7:
            return useTheViewer();
        case 8:
            return useTheMenus();
        default:
            return typeIntoAField();
        }
    }

    // Checks made whenever the event loop runs, also inside a run.
    void check() {
        // A run steps when it yields without a box open; while a box of its
        // own is open it may still be setting up.
        if (w_.running() && !QApplication::activeModalWidget()) {
            ASSERT_TRUE(SolverArraysCover(m_)) << "a run steps on arrays that miss the mesh";
            ASSERT_FALSE(RunParameterProblem(m_)) << *RunParameterProblem(m_);
        }
        ASSERT_GE(m_.pickState, PickState::Off);
        ASSERT_LE(m_.pickState, PickState::RangeEnd);
    }

    // Undo and redo give back the map as it was with that many edits
    // applied; maps_[k] is the map with k edits applied, where known.
    void checkUndoGivesBackTheMap() {
        const std::size_t at = w_.edits().applied();
        if (w_.edits().count() == 0) {
            maps_.assign(1, m_.cellKind);
        } else if (undoOrRedo_ && at < maps_.size() && maps_[at]) {
            ASSERT_EQ(m_.cellKind, *maps_[at]) << "undo or redo to step " << at;
        } else if (!undoOrRedo_) {
            maps_.resize(at + 1); // steps an act pushed in between are not known
            maps_[at] = m_.cellKind;
        }
        undoOrRedo_ = false;
    }

    void checkFieldsFollowTheState() {
        const std::pair<const char*, double> fields[] = {
            {"Text1", m_.dt},        {"Text2", m_.reynolds}, {"Text3", m_.stepCount},
            {"Text4", m_.nx},        {"Text5", m_.ny},       {"Text6", m_.meshSizeX},
            {"Text7", m_.meshSizeY}, {"Text9", m_.maxIter},  {"Text11", m_.lineScale}};
        for (const auto& [name, value] : fields) {
            auto* f = w_.findChild<QLineEdit*>(name);
            if (!f->toolTip().isEmpty()) continue; // shows that it is not in use
            const double typed = ReadLeadingNumber(f->text().toStdString()).value;
            const bool integer = std::string(name) != "Text1" && std::string(name) != "Text2" &&
                                 std::string(name) != "Text11";
            ASSERT_EQ(integer ? std::nearbyint(typed) : typed, value)
                << name << " " << f->text().toStdString();
        }
    }

    // A case saved now opens again with every parameter, list and the map.
    // The fields are put right for it, as the refusal asks, and given back
    // their texts afterwards, so that the random walk goes on as it was.
    void checkASavedCaseOpensTheSame() {
        std::vector<std::pair<QLineEdit*, QString>> typed;
        for (const Parameter& p : Parameters())
            if (auto* f = p.field ? w_.findChild<QLineEdit*>(p.field) : nullptr) {
                typed.emplace_back(f, f->text());
                if (!f->toolTip().isEmpty()) f->setText(QString::fromStdString(TextOf(p, m_)));
            }
        if (m_.nx < 1 || m_.ny < 1) { // counts no case holds
            w_.findChild<QLineEdit*>("Text4")->setText("12");
            w_.findChild<QLineEdit*>("Text5")->setText("8");
        }
        saveAndOpenAgain();
        for (const auto& [field, text] : typed)
            field->setText(text);
    }

  private:
    void saveAndOpenAgain() {
        if (static_cast<double>(m_.nx) * m_.ny > 1e5)
            return; // large maps: saving tests of their own
        const QString file = folder_.filePath("round-trip.json");
        QFile::remove(file);
        answerer_.fileNames = {file};
        answerer_.buttons.clear();
        test::TriggerMenuCommand(w_, "名前を付けて保存…");
        if (!QFile::exists(file)) return; // refused, and said why
        SimulationState opened;
        MainWindow other{opened};
        ASSERT_TRUE(other.openCaseFile(file.toStdString())) << answerer_.lastText().toStdString();
        for (const Parameter& p : Parameters())
            ASSERT_TRUE(test::SameBits(ValueOf(p, opened), ValueOf(p, m_))) << p.key;
        ASSERT_EQ(opened.coordListX, m_.coordListX);
        ASSERT_EQ(opened.coordListY, m_.coordListY);
        // A map made for other counts is saved as far as the counts reach.
        for (int j = 1; j <= std::min<int>(m_.ny, m_.cellKind.upper2() - 1); ++j)
            for (int i = 1; i <= std::min<int>(m_.nx, m_.cellKind.upper1() - 1); ++i)
                ASSERT_EQ(opened.cellKind(i, j), m_.cellKind(i, j)) << i << ", " << j;
        ASSERT_TRUE(opened.method == m_.method);
    }

    void typeIntoAField() {
        static const char* const names[] = {"Text1", "Text2", "Text3", "Text4",  "Text5", "Text6",
                                            "Text7", "Text8", "Text9", "Text10", "Text11"};
        static const char* const texts[] = {
            "",       "0", "-5", "1e400", "40000", "2.5",  "abc", "0.00", "12abc", " 7",
            "1e-320", "3", "8",  "12",    "5",     "0.01", "-0",  "1e5",  "32767", "\x01\xff"};
        const char* name = pick(names);
        auto* f = w_.findChild<QLineEdit*>(name);
        const std::string mesh = std::string(name) == "Text4" || std::string(name) == "Text5"
                                     ? pick(std::array{"5", "8", "12", "3", "-2", "0", "40000"})
                                     : pick(texts);
        const bool typeable = std::all_of(mesh.begin(), mesh.end(),
                                          [](unsigned char c) { return c >= 0x20 && c < 0x7F; });
        if (below(2) || !typeable) {
            f->setText(QString::fromLatin1(mesh.c_str()));
        } else {
            f->clear();
            QTest::keyClicks(f, QString::fromLatin1(mesh.c_str()));
        }
    }

    void clickAButton() {
        static const char* const buttons[] = {"Command3", "Command4", "Command5", "Command6",
                                              "Command7", "Command8", "Command9", "Command10"};
        QTest::mouseClick(w_.findChild<QPushButton*>(pick(buttons)), Qt::LeftButton);
    }

    void clickAnOption() {
        static const char* const options[] = {"Option1",   "Option2",   "Option4",
                                              "Option5",   "Option6",   "Option7",
                                              "Option3_0", "Option3_1", "Option3_2"};
        auto* o = w_.findChild<QRadioButton*>(pick(options));
        QTest::mouseClick(o, Qt::LeftButton, {}, QPoint(8, o->height() / 2));
    }

    void useThePicture() {
        auto* picture = w_.findChild<QWidget*>("Picture1");
        const QPoint at(below(picture->width() + 40) - 20, below(picture->height() + 40) - 20);
        if (below(3) == 0)
            QTest::mouseMove(picture, at);
        else
            QTest::mouseClick(
                picture,
                pick(std::array{Qt::LeftButton, Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}),
                {}, at);
    }

    void run() {
        // Short runs only: at most 4 steps on whatever mesh the fields hold.
        w_.findChild<QLineEdit*>("Text3")->setText(QString::number(below(5)));
        if (below(2)) {
            // While it steps, the user keeps typing and clicking.
            for (int k = 0; k < 3; ++k)
                QTimer::singleShot(0, [this] {
                    if (QApplication::activeModalWidget()) return; // the user cannot act now
                    check();
                    if (below(3) == 0)
                        QTest::mouseClick(w_.findChild<QPushButton*>("Command7"), Qt::LeftButton);
                    else
                        typeIntoAField();
                    check();
                });
        }
        QTest::mouseClick(w_.findChild<QPushButton*>("Command1"), Qt::LeftButton);
    }

    void useTheEditor() {
        auto* option2 = w_.findChild<QRadioButton*>("Option2");
        QTest::mouseClick(option2, Qt::LeftButton, {}, QPoint(8, option2->height() / 2));
        QTest::mouseClick(w_.findChild<QPushButton*>("Command2"), Qt::LeftButton);
        QWidget* editor = test::ShownWindow("frmXYPlace");
        if (!editor) return;
        for (int k = 0; k < 4; ++k) {
            const int group = below(2);
            editor->findChild<QLineEdit*>(QString("Text1_%1").arg(group))
                ->setText(pick(std::array{"1", "2.5", "1e400", "-3", "abc", ""}));
            if (auto* list = editor->findChild<QListWidget*>(QString("List1_%1").arg(group));
                list->count() > 0 && below(2))
                list->item(below(list->count()))->setSelected(true);
            QTest::mouseClick(editor->findChild<QPushButton*>(
                                  QString("Command%1_%2").arg(1 + below(4)).arg(group)),
                              Qt::LeftButton);
        }
        editor->close(); // answered at random: stored, not stored, or kept open
    }

    // Undo, redo, cases saved and opened (good, bad and cancelled), exports,
    // the history window and frames, as the menus offer them.
    void useTheMenus() {
        const QString file = folder_.filePath(pick(std::array{"a.json", "b.csv", "c.vtk"}));
        answerer_.fileNames = {below(3) == 0 ? QString() : file, folder_.path()};
        if (below(4) == 0)
            test::Retype(w_.findChild<QLineEdit*>("Text2"), pick(std::array{"30", "abc", "0"}));
        if (below(5) == 0) {
            QFile bad(folder_.filePath("a.json"));
            bad.open(QIODevice::WriteOnly);
            bad.write(pick(std::array{"{\"nx\": 0}", "{", "{\"nx\": 9, \"ny\": 7}"}));
        }
        static const char* const commands[] = {"元に戻す",
                                               "やり直し",
                                               "元に戻す",
                                               "名前を付けて保存…",
                                               "ケースを開く…",
                                               "CSV…",
                                               "VTK…",
                                               "収束履歴…",
                                               "実行中の表示を連番画像で保存…"};
        const char* command = pick(commands);
        undoOrRedo_ = std::string(command) == "元に戻す" || std::string(command) == "やり直し";
        test::TriggerMenuCommand(w_, QString::fromUtf8(command));
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->objectName() == "frmHistory" && below(2)) top->close();
    }

    void useTheViewer() {
        QTest::mouseClick(w_.findChild<QPushButton*>("Command8"), Qt::LeftButton);
        QWidget* viewer = test::ShownWindow("frmText");
        if (!viewer) return;
        for (const char* name : {"Text2", "Text3", "Text4", "Text5"})
            viewer->findChild<QLineEdit*>(name)->setText(
                pick(std::array{"1", "0", "100", "", "3.5", "-2"}));
        QTest::mouseClick(viewer->findChild<QPushButton*>("Command1"), Qt::LeftButton);
        if (below(2)) viewer->close();
    }

    QTemporaryDir folder_;
    std::vector<std::optional<Array2<Integer>>> maps_;
    bool undoOrRedo_ = false;
    std::mt19937 random_;
    SimulationState& m_;
    MainWindow& w_;
    test::ModalAnswerer& answerer_;
};

TEST(WindowRandomDriver, NothingLeavesAHandlerAndTheStateStaysConsistent) {
    const unsigned seed = driverSeed();
    static unsigned reportedSeed = 0;
    reportedSeed = seed;
    // A failure that ends the process still names the seed that replays it.
    std::set_terminate([] {
        std::cerr << "window driver ended by an exception; replay with KESTREL_DRIVER_SEED="
                  << reportedSeed << "\n";
        std::abort();
    });
    SimulationState m;
    test::ModalAnswerer answerer;
    {
        MainWindow w{m};
        w.show();
        RandomUser user(seed, m, w, answerer);
        for (int event = 0; event < 300; ++event) {
            SCOPED_TRACE("seed " + std::to_string(seed) + ", event " + std::to_string(event));
            user.act();
            user.check();
            user.checkFieldsFollowTheState();
            user.checkUndoGivesBackTheMap();
            if (event % 10 == 9) user.checkASavedCaseOpensTheSame();
            if (::testing::Test::HasFatalFailure()) return;
        }
        w.close();
    }
    std::set_terminate(nullptr);
}

} // namespace
} // namespace kestrel
