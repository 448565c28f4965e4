// Shared pieces of the window tests: a data root of their own, persons to
// store, the messages shown, and answering modal dialogs as a user would.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "chart_view.h"
#include "main_frame.h"
#include "offscreen_app.h"
#include "person_entry.h"
#include "person_text.h"
#include "query_dialog.h"
#include "records_file.h"
#include "run_program.h"
#include "show_message.h"

namespace qv::test {

// A data root whose program folder holds the built solar-term table and logo:
// the test programs do not live beside the shipped data, so these copies stand
// in as a user's own.
class DataRoot {
public:
    DataRoot() {
        namespace fs = std::filesystem;
        fs::create_directories(Program());
        for (const char* file : {"AInfo.tbl", "EABOUT.LGO"})
            fs::copy_file(std::string(QUORVANE_BIN_DIR "/") + file, Program() + "/" + file);
    }
    const std::string& Root() const { return dir_.Path(); }
    std::string Program() const { return Root() + "/program"; }
    std::string MainFile() const { return Root() + "/VNX5MAIN.AID"; }
    std::string SettingsFile() const { return Program() + "/fsquorvane_s2.ini"; }

private:
    TempDir dir_;
};

// A person as the person dialog would store it (both calendars filled).
inline PersonRecord StoredPerson(const std::string& name, int year, int month, int day, int hour, int minute,
                                 int sex = 0) {
    PersonRecord r{};
    EXPECT_TRUE(StorePersonTexts(PersonTexts{name, "台北市", "02-1234", ""}, r).Ok);
    BirthEntry e;
    e.Year = year, e.Month = month, e.Day = day;
    e.HourUnknown = hour == HourUnknown;
    e.Hour = e.HourUnknown ? 0 : hour;
    e.Minute = minute;
    EXPECT_TRUE(FillBirth(e, 1, r).Ok);
    r.sex = sex;
    return r;
}

inline void Store(const std::string& path, const std::vector<PersonRecord>& people) {
    const RecordsResult r = AppendRecords(path, people);
    ASSERT_TRUE(r.Ok) << r.Detail;
}

inline bool Exists(const std::string& path) { return std::filesystem::exists(path); }

inline std::string NameOf(const PersonRecord& r) {
    PersonTexts texts;
    EXPECT_TRUE(LoadPersonTexts(r, texts).Ok);
    return texts.Name;
}

// The names of the persons of a records file, in its order.
inline std::vector<std::string> StoredNames(const std::string& path) {
    std::vector<std::string> names;
    for (const PersonRecord& r : ReadRecordsFile(path).Records) names.push_back(NameOf(r));
    return names;
}

// Dark pixels (text and lines) in a rectangle of a picture.
inline int DarkPixels(const QImage& image, const QRect& r) {
    int ink = 0;
    for (int y = std::max(0, r.top()); y <= std::min(image.height() - 1, r.bottom()); ++y)
        for (int x = std::max(0, r.left()); x <= std::min(image.width() - 1, r.right()); ++x)
            ink += qGray(image.pixel(x, y)) < 128;
    return ink;
}

// Collects the messages shown while it lives, instead of modal boxes.
class MessageLog {
public:
    MessageLog() {
        previous_ = ui::SetMessageSink([this](const ui::MessageRequest& m) {
            Ids.push_back(m.TextId);
            Texts.push_back(m.Text);
            EXPECT_EQ(m.CaptionId, 129);
        });
        previousQuestions_ = ui::SetQuestionSink([this](const ui::MessageRequest& m) {
            Questions.push_back(m.Text);
            return Answer;
        });
    }
    ~MessageLog() {
        ui::SetMessageSink(std::move(previous_));
        ui::SetQuestionSink(std::move(previousQuestions_));
    }
    std::vector<int> Ids;
    std::vector<std::string> Texts;
    std::vector<std::string> Questions;  // asked yes/no, answered with Answer
    bool Answer = true;

private:
    ui::MessageSink previous_;
    ui::QuestionSink previousQuestions_;
};

// Polls from the event loop, so it also runs inside the program's own nested
// loops, until `find` gives a window; then answers it as a user would. Gives up
// (and fails) after ten seconds.
template <class W>
void WhenUp(std::function<W*()> find, std::function<void(W&)> answer) {
    auto* timer = new QTimer(&QtApp());
    auto* clock = new QElapsedTimer;
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [timer, clock, find, answer] {
        W* window = find();
        if (!window && clock->elapsed() < 10000) return;
        timer->stop();
        timer->deleteLater();
        delete clock;
        if (!window) {
            ADD_FAILURE() << "no " << W::staticMetaObject.className() << " opened";
            if (QWidget* other = QApplication::activeModalWidget()) other->close();
            return;
        }
        answer(*window);
    });
    timer->start(5);
}

// Answers the next modal dialog of type D once it is up.
template <class D>
void WhenModal(std::function<void(D&)> answer) {
    WhenUp<D>([] { return qobject_cast<D*>(QApplication::activeModalWidget()); }, std::move(answer));
}

// Answers the next shown top-level window of type W.
template <class W>
void WhenShown(std::function<void(W&)> answer) {
    WhenUp<W>(
        [] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* found = qobject_cast<W*>(w); found && found->isVisible()) return found;
            return static_cast<W*>(nullptr);
        },
        std::move(answer));
}

template <class W>
W& Child(QWidget& parent, const char* name) {
    W* child = parent.findChild<W*>(QString::fromLatin1(name));
    if (!child) throw std::runtime_error(std::string("no child ") + name);
    return *child;
}

// Clicks where a user would: a check or radio box only takes clicks on its
// box and label, which need not reach the middle of a stretched widget.
inline void Click(QWidget& parent, const char* buttonName) {
    QAbstractButton& button = Child<QAbstractButton>(parent, buttonName);
    const bool boxed = qobject_cast<QRadioButton*>(&button) || qobject_cast<QCheckBox*>(&button);
    const QPoint at = boxed ? QPoint(std::min(6, button.width() / 2), button.height() / 2) : button.rect().center();
    QTest::mouseClick(&button, Qt::LeftButton, Qt::NoModifier, at);
}

// Replaces the edit's text key by key, as typed; characters outside ASCII
// come as key events carrying their text, the way an input method gives them.
inline void Retype(QLineEdit& edit, const QString& text) {
    edit.clear();
    qsizetype n = 0;
    for (qsizetype i = 0; i < text.size(); i += n) {
        n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString ch = text.mid(i, n);
        if (n == 1 && ch[0].unicode() < 0x80)
            QTest::keyClick(&edit, ch[0].toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, ch, Qt::NoModifier);
    }
}

// Starts the program on the data root as main() does, without the logo, in a
// window of 1024 x 768.
inline void StartProgram(const DataRoot& root, std::unique_ptr<ui::CQuorvaneApp>& app,
                         std::unique_ptr<ui::CMainFrame>& frame) {
    frame.reset();
    app = std::make_unique<ui::CQuorvaneApp>();
    const Result started = app->Initialize(ui::StartOptions{root.Root(), false});
    ASSERT_TRUE(started.Ok) << started.Detail;
    frame = std::make_unique<ui::CMainFrame>(*app);
    frame->resize(1024, 768);
    frame->show();
}

// Answers the next query dialog with that row of its list of names.
inline void AnswerQuery(int row) {
    WhenModal<ui::PersonQueryDialog>([row](ui::PersonQueryDialog& q) {
        Child<QListWidget>(q, "names").setCurrentRow(row);
        Click(q, "ok");
    });
}

// Charts the person of that row of the query dialog's list, as 查詢資料 does.
inline void QueryPersonAt(ui::CQuorvaneApp& app, int row) {
    AnswerQuery(row);
    ASSERT_TRUE(app.Execute(ui::ID_QUERY_PERSON));
    ASSERT_TRUE(app.chartShown);
}

// The birth lists of a person dialog: chosen, and as shown (year, month, day, hour, minute).
inline void EnterBirth(QWidget& dialog, int year, int month, int day, int hour, int minute) {
    const std::pair<const char*, int> lists[] = {
        {"year", year - 1900}, {"month", month - 1}, {"day", day - 1}, {"hour", hour}, {"minute", minute}};
    for (const auto& [name, index] : lists) Child<QComboBox>(dialog, name).setCurrentIndex(index);
}
inline std::vector<int> ShownBirth(QWidget& dialog) {
    std::vector<int> shown;
    for (const char* name : {"year", "month", "day", "hour", "minute"})
        shown.push_back(Child<QComboBox>(dialog, name).currentIndex());
    return {shown[0] + 1900, shown[1] + 1, shown[2] + 1, shown[3], shown[4]};
}

// Clicks the point of the 1024 x 768 page where the chart view shows it.
inline void ClickPage(ui::CMainFrame& frame, QPoint page, Qt::MouseButton button = Qt::LeftButton) {
    ui::CQuorvaneView& view = *frame.View();
    QTest::mouseClick(view.viewport(), button, Qt::NoModifier, view.ViewportPoint(page));
}
// The page points of kind button k and of a cell of the period row.
inline QPoint KindButton(int k) { return {8 + 37, 2 + 54 * k + 25}; }
inline QPoint PeriodCell(int column, bool upper) { return {91 + (11 - column) * 40 + 20, 2 + (upper ? 470 : 530)}; }

// Runs the command as its menu entry does, after checking the entry is enabled.
inline void ChooseCommand(ui::CMainFrame& frame, int id) {
    QAction* action = frame.Action(id);
    ASSERT_NE(action, nullptr) << id;
    frame.UpdateCommandStates();
    ASSERT_TRUE(action->isEnabled()) << id;
    action->trigger();
}

inline bool MenuEnabled(ui::CMainFrame& frame, int id) {
    frame.UpdateCommandStates();
    return frame.Action(id)->isEnabled();
}

// A test of the whole program on a data root of its own, with the messages it shows.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override { QtApp(); }
    // Stores the persons, starts the program and charts the first of them.
    void StartShowing(const std::vector<PersonRecord>& people) {
        Store(root_.MainFile(), people);
        StartProgram(root_, app_, frame_);
        QueryPersonAt(*app_, 0);
    }

    DataRoot root_;
    MessageLog messages_;
    std::unique_ptr<ui::CQuorvaneApp> app_;
    std::unique_ptr<ui::CMainFrame> frame_;
};

// Spins the event loop until the condition holds or the time is up.
inline bool WaitUntil(const std::function<bool()>& condition, int ms = 10000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > ms) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

}  // namespace qv::test
