// The potential-parameter dialogs as a user fills them in through the command
// 設定潛能參數: the category dialog, then the ability dialog, and the table
// file they leave behind.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include "potential_dialogs.h"
#include "potential_tables.h"
#include "shell_fixture.h"

namespace qv::test {
namespace {

using namespace qv::ui;

using CategoryAnswer = std::function<void(PotentialCategoryDialog&)>;
using ItemAnswer = std::function<void(PotentialItemDialog&)>;

void Confirm(PotentialItemDialog& d) { Click(d, "ok"); }
void Discard(PotentialItemDialog& d) { d.reject(); }

// Category settings as typed, then "繼續設定".
CategoryAnswer Enter(const QString& name, const QString& k, const QString& count, bool newCategory = false) {
    return [=](PotentialCategoryDialog& d) {
        if (newCategory) Click(d, "1034");
        if (!name.isNull()) Retype(Child<QLineEdit>(d, "1033"), name);
        Retype(Child<QLineEdit>(d, "1022"), k);
        Retype(Child<QLineEdit>(d, "1023"), count);
        Click(d, "ok");
    };
}

class PotentialDialogsTest : public ShellTest {
protected:
    std::string TablePath() const { return root_.Program() + "/EngyInfo.tbl"; }
    void Start() { StartProgram(root_, app_, frame_); }
    void StartWith(const std::vector<CategoryDef>& categories) {
        WritePotentialTable(TablePath(), categories);
        Start();
    }
    // Runs the command; the ability dialog is answered when it opens.
    void RunDialogs(CategoryAnswer category, ItemAnswer items) {
        WhenModal<PotentialCategoryDialog>([category, items](PotentialCategoryDialog& d) {
            WhenModal<PotentialItemDialog>(items);
            category(d);
        });
        ASSERT_TRUE(app_->Execute(ID_POTENTIAL_PARAMETERS));
    }
    // The command where no ability dialog may follow: one that opens anyway fails and is closed.
    void RunRefused(CategoryAnswer category) {
        QObject guard;
        auto* watch = new QTimer(&guard);
        QObject::connect(watch, &QTimer::timeout, [] {
            if (auto* items = qobject_cast<PotentialItemDialog*>(QApplication::activeModalWidget())) {
                ADD_FAILURE() << "the ability dialog opened";
                items->reject();
            }
        });
        watch->start(20);
        WhenModal<PotentialCategoryDialog>(std::move(category));
        ASSERT_TRUE(app_->Execute(ID_POTENTIAL_PARAMETERS));
    }
    PotentialTable Saved() const {
        PotentialTable t{};
        const Result r = LoadPotentialTable(TablePath(), t);
        EXPECT_TRUE(r.Ok) << r.Detail;
        return t;
    }
    static std::string Name(const PotentialItem& item) { return PotentialNameText(item.Name); }
};

std::string Le16(int v) { return {static_cast<char>(v & 0xff), static_cast<char>((v >> 8) & 0xff)}; }
std::string Padded(std::string bytes, size_t size) {
    bytes.resize(size, '\0');
    return bytes;
}

TEST_F(PotentialDialogsTest, FirstRunDefinesOneCategoryAndWritesItsFileByteForByte) {
    Start();
    ASSERT_FALSE(Exists(TablePath()));
    QStringList abilities;
    QString shownName;
    RunDialogs(
        [](PotentialCategoryDialog& d) {
            EXPECT_TRUE(Child<QRadioButton>(d, "1034").isChecked());
            EXPECT_FALSE(Child<QRadioButton>(d, "1035").isEnabled());
            EXPECT_FALSE(Child<QListWidget>(d, "1036").isEnabled());
            EXPECT_EQ(Child<QLineEdit>(d, "1022").text(), QStringLiteral("25"));
            Enter(QStringLiteral("領導"), QStringLiteral("30"), QStringLiteral("5"))(d);
        },
        [&](PotentialItemDialog& d) {
            const QListWidget& list = Child<QListWidget>(d, "1024");
            for (int i = 0; i < list.count(); ++i) abilities << list.item(i)->text();
            shownName = Child<QLineEdit>(d, "1000").text();
            Click(d, "ok");
        });
    EXPECT_EQ(abilities, (QStringList{"1 ", "2 ", "3 ", "4 ", "5 "}));
    EXPECT_EQ(shownName, QStringLiteral("未命名"));
    // Count 1; 領導 in Big5, item count 5, K 30, first item 0; 31 unused
    // categories; the first ability keeps the 未命名 it showed, four blank ones.
    const std::string expected = Le16(1) + Padded("\xbb\xe2\xbe\xc9", 48) + Le16(5) + Le16(30) + Le16(0) +
                                 std::string(31 * 54, '\0') + Padded("\xa5\xbc\xa9\x52\xa6\x57", 36) +
                                 std::string(4 * 36, '\0');
    EXPECT_EQ(ReadFileText(TablePath()), expected);
    EXPECT_EQ(app_->currentCategory, 0);
    EXPECT_EQ(app_->Potentials().CategoryCount, 1);
    EXPECT_TRUE(messages_.Ids.empty());
}

TEST_F(PotentialDialogsTest, ShareIsClampedAndTheAbilitiesCappedAtThirtyTwo) {
    StartWith({{QStringLiteral("領導"), 5}});
    RunDialogs(Enter(QString(), QStringLiteral("150"), QStringLiteral("40")), Confirm);
    PotentialTable t = Saved();
    EXPECT_EQ(t.Categories[0].K, 100);
    EXPECT_EQ(t.Categories[0].ItemCount, 32);
    EXPECT_EQ(t.ItemTotal, 32);
    RunDialogs(Enter(QString(), QStringLiteral("-5"), QStringLiteral("32")), Confirm);
    t = Saved();
    EXPECT_EQ(t.Categories[0].K, 0);
    EXPECT_EQ(PotentialNameText(t.Categories[0].Name), "領導");
}

// Grown, a category moves the later abilities back behind blank ones; shrunk,
// it moves them forward and the table ends after them.
TEST_F(PotentialDialogsTest, ResizingACategoryMovesTheLaterAbilities) {
    StartWith({{QStringLiteral("甲"), 5}, {QStringLiteral("乙"), 4}});
    RunDialogs(Enter(QString(), QStringLiteral("40"), QStringLiteral("8")), Confirm);
    PotentialTable t = Saved();
    EXPECT_EQ(t.ItemTotal, 12);
    EXPECT_EQ(t.Categories[0].ItemCount, 8);
    EXPECT_EQ(t.Categories[1].FirstItem, 8);
    EXPECT_EQ(t.Categories[1].ItemCount, 4);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(Name(t.Items[i]), "甲" + std::to_string(i + 1));
    for (int i = 5; i < 8; ++i) {
        EXPECT_EQ(t.Items[i].ElementMask | t.Items[i].TenGodMask | t.Items[i].Name[0], 0) << "blank " << i;
    }
    for (int i = 0; i < 4; ++i) {
        const PotentialItem& moved = t.Items[8 + i];
        EXPECT_EQ(Name(moved), "乙" + std::to_string(i + 1));
        EXPECT_EQ(moved.ElementMask, ElementBit(1));
        EXPECT_EQ(moved.TenGodMask, TenGodBit(i));
    }

    RunDialogs(Enter(QString(), QStringLiteral("40"), QStringLiteral("2")), Confirm);
    const PotentialTable& mem = app_->Potentials();
    for (int i = 6; i < 12; ++i) EXPECT_EQ(mem.Items[i].ElementMask | mem.Items[i].TenGodMask | mem.Items[i].Name[0], 0) << i;
    t = Saved();
    EXPECT_EQ(ReadFileText(TablePath()).size(), 1730u + 6 * 36);
    EXPECT_EQ(t.ItemTotal, 6);
    EXPECT_EQ(t.Categories[1].FirstItem, 2);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(Name(t.Items[i]), "甲" + std::to_string(i + 1));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Name(t.Items[2 + i]), "乙" + std::to_string(i + 1));
        EXPECT_EQ(t.Items[2 + i].TenGodMask, TenGodBit(i));
    }
}

TEST_F(PotentialDialogsTest, ElementsAreStoredAsBitsAndShownBackInElementOrder) {
    StartWith({{QStringLiteral("甲"), 2}});
    RunDialogs(Enter(QString(), QStringLiteral("40"), QStringLiteral("2")), [](PotentialItemDialog& d) {
        Child<QComboBox>(d, "1026").setCurrentIndex(3);  // 火
        Child<QComboBox>(d, "1027").setCurrentIndex(1);  // 水
        Child<QComboBox>(d, "1028").setCurrentIndex(0);
        Click(d, "ok");
    });
    EXPECT_EQ(Saved().Items[0].ElementMask, 0xA0);
    QStringList shown;
    RunDialogs(Enter(QString(), QStringLiteral("40"), QStringLiteral("2")), [&](PotentialItemDialog& d) {
        for (const char* list : {"1026", "1027", "1028"}) shown << Child<QComboBox>(d, list).currentText();
        d.reject();
    });
    EXPECT_EQ(shown, (QStringList{"水", "火", "未使用"}));
}

// A name Big5 cannot hold or too long for its field is refused with the
// reason, the dialog staying open on it, as the person dialog refuses them.
TEST_F(PotentialDialogsTest, NamesBig5CannotHoldOrTooLongAreRefusedInPlace) {
    StartWith({{QStringLiteral("甲"), 2}});
    auto problem = [](QDialog& d) { return Child<QLabel>(d, "problem").text(); };
    RunDialogs(
        [&](PotentialCategoryDialog& d) {
            Enter(QStringLiteral("领导"), QStringLiteral("40"), QStringLiteral("2"))(d);
            EXPECT_TRUE(d.isVisible());
            EXPECT_EQ(problem(d), QStringLiteral("潛能分類名稱：含有 Big5 無法表示的字"));
            Enter(QString(24, QChar(0x7532)), QStringLiteral("40"), QStringLiteral("2"))(d);  // 48 bytes
            EXPECT_TRUE(d.isVisible());
            EXPECT_EQ(problem(d), QStringLiteral("潛能分類名稱：太長，請縮短"));
            Enter(QStringLiteral("乙"), QStringLiteral("40"), QStringLiteral("2"))(d);
        },
        [&](PotentialItemDialog& d) {
            Retype(Child<QLineEdit>(d, "1000"), QStringLiteral("领导X能力"));
            Child<QListWidget>(d, "1024").setCurrentRow(1);
            EXPECT_EQ(Child<QListWidget>(d, "1024").currentRow(), 0) << "the refused ability stays chosen";
            EXPECT_EQ(problem(d), QStringLiteral("潛能名稱：含有 Big5 無法表示的字"));
            Click(d, "ok");
            EXPECT_TRUE(d.isVisible());
            Retype(Child<QLineEdit>(d, "1000"), QStringLiteral("X能力"));
            Click(d, "ok");
        });
    const PotentialTable t = Saved();
    EXPECT_EQ(PotentialNameText(t.Categories[0].Name), "乙");
    EXPECT_EQ(Name(t.Items[0]), "X能力");
}

TEST_F(PotentialDialogsTest, DiscardingTheAbilitiesForgetsTheNewCategory) {
    StartWith({{QStringLiteral("甲"), 3}});
    const std::string before = ReadFileText(TablePath());
    RunDialogs(Enter(QStringLiteral("新類"), QStringLiteral("40"), QStringLiteral("4"), true), Discard);
    EXPECT_EQ(app_->Potentials().CategoryCount, 1);
    EXPECT_EQ(app_->Potentials().ItemTotal, 3);
    EXPECT_EQ(app_->currentCategory, 0);
    EXPECT_EQ(ReadFileText(TablePath()), before);
}

// 7 × 32 + 26 = 250 abilities: 10 more would pass the 255 the table holds, 5 fit exactly.
TEST_F(PotentialDialogsTest, MoreThanTwoHundredFiftyFiveAbilitiesAreRefused) {
    std::vector<CategoryDef> full(7, CategoryDef{QStringLiteral("類"), 32});
    full.push_back({QStringLiteral("末"), 26});
    StartWith(full);
    const std::string before = ReadFileText(TablePath());
    RunRefused(Enter(QStringLiteral("新類"), QStringLiteral("40"), QStringLiteral("10"), true));
    EXPECT_EQ(app_->Potentials().CategoryCount, 8);
    EXPECT_EQ(app_->Potentials().ItemTotal, 250);
    EXPECT_EQ(ReadFileText(TablePath()), before);
    RunDialogs(Enter(QStringLiteral("新類"), QStringLiteral("40"), QStringLiteral("5"), true), Confirm);
    EXPECT_EQ(Saved().ItemTotal, 255);
    EXPECT_EQ(Saved().CategoryCount, 9);
    EXPECT_EQ(app_->currentCategory, 8);
}

TEST_F(PotentialDialogsTest, AnOlderCategoryChosenInTheListIsTheOneChanged) {
    StartWith({{QStringLiteral("甲"), 2}, {QStringLiteral("乙"), 3}});
    QString shownK, shownCount, present;
    RunDialogs(
        [&](PotentialCategoryDialog& d) {
            EXPECT_TRUE(Child<QRadioButton>(d, "1035").isChecked());
            Child<QListWidget>(d, "1036").setCurrentRow(1);
            shownK = Child<QLineEdit>(d, "1022").text();
            shownCount = Child<QLineEdit>(d, "1023").text();
            present = Child<QLabel>(d, "1037").text();
            Enter(QStringLiteral("乙類"), QStringLiteral("70"), QStringLiteral("3"))(d);
        },
        [](PotentialItemDialog& d) {
            // A name typed for each of two abilities, the list moving between them.
            QListWidget& list = Child<QListWidget>(d, "1024");
            EXPECT_EQ(list.item(1)->text(), QStringLiteral("2 乙2"));
            Retype(Child<QLineEdit>(d, "1000"), QStringLiteral("耐心"));
            list.setCurrentRow(2);
            EXPECT_EQ(list.item(0)->text(), QStringLiteral("1 耐心"));
            Retype(Child<QLineEdit>(d, "1000"), QStringLiteral("勇氣"));
            Click(d, "ok");
        });
    EXPECT_EQ(shownK, QStringLiteral("40"));
    EXPECT_EQ(shownCount, QStringLiteral("3"));
    EXPECT_EQ(present, QStringLiteral("3"));
    const PotentialTable t = Saved();
    EXPECT_EQ(PotentialNameText(t.Categories[1].Name), "乙類");
    EXPECT_EQ(t.Categories[1].K, 70);
    EXPECT_EQ(t.Categories[0].K, 40);
    EXPECT_EQ(Name(t.Items[2]), "耐心");
    EXPECT_EQ(Name(t.Items[3]), "乙2");
    EXPECT_EQ(Name(t.Items[4]), "勇氣");
    EXPECT_EQ(app_->currentCategory, 1);
}

TEST_F(PotentialDialogsTest, AFullCategoryTableOffersNoNewCategory) {
    StartWith(std::vector<CategoryDef>(MaxPotentialCategories, CategoryDef{QStringLiteral("類"), 1}));
    bool offered = true;
    QString why;
    RunRefused([&](PotentialCategoryDialog& d) {
        offered = Child<QRadioButton>(d, "1034").isEnabled();
        why = Child<QRadioButton>(d, "1034").toolTip();
        d.reject();
    });
    EXPECT_FALSE(offered);
    EXPECT_TRUE(why.contains(QStringLiteral("32"))) << why.toStdString();
    EXPECT_EQ(app_->Potentials().CategoryCount, MaxPotentialCategories);
}

}  // namespace
}  // namespace qv::test
