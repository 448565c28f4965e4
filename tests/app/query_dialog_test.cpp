// The query and pick dialogs through their widgets on a records file.
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>

#include "query_dialog.h"
#include "shell_fixture.h"

namespace qv::test {
namespace {

using ui::PersonPickDialog;
using ui::PersonQueryDialog;

class QueryDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        QtApp();
        Store(path_, {StoredPerson("王大明", 1970, 3, 1, 8, 0), StoredPerson("王小華", 1985, 7, 9, 14, 5),
                      StoredPerson("陳美", 1992, 2, 3, 7, 8, 1), StoredPerson("王大明", 1971, 4, 2, 9, 0),
                      StoredPerson("", 1999, 9, 9, 9, 9), StoredPerson("王大明", 1912, 12, 24, HourUnknown, 0)});
    }

    std::unique_ptr<PersonQueryDialog> Open(int templateId = 6007) {
        auto d = std::make_unique<PersonQueryDialog>(templateId, path_, 0);
        d->show();
        return d;
    }
    static QStringList Names(QWidget& d, const char* list = "names") {
        QStringList names;
        auto& w = Child<QListWidget>(d, list);
        for (int i = 0; i < w.count(); ++i) names << w.item(i)->text();
        return names;
    }
    static void TypeSearch(PersonQueryDialog& d, const QString& text) {
        Retype(Child<QLineEdit>(d, "search"), text);
    }

    TempDir dir_;
    std::string path_ = dir_.Path() + "/VNX5MAIN.AID";
    MessageLog messages_;
};

// Not found (unknown, empty or beyond Big5), the dialog says so and stays
// open; a full name found once is chosen without the picker.
TEST_F(QueryDialogTest, FullNameFoundOnceChoosesItWithoutThePickerOthersAreNotFound) {
    auto d = Open();
    Click(*d, "fullName");
    EXPECT_FALSE(Child<QListWidget>(*d, "names").isEnabled());
    for (const char* name : {"李四", "", "😀"}) {
        TypeSearch(*d, QString::fromUtf8(name));
        Click(*d, "ok");
        EXPECT_TRUE(d->isVisible()) << name;
    }
    EXPECT_EQ(messages_.Ids, (std::vector<int>{434, 434, 434}));
    EXPECT_EQ(messages_.Texts.front(), "找不到該客戶資料...");
    TypeSearch(*d, QStringLiteral("陳美"));
    Click(*d, "ok");
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(d->Chosen(), 2);
    EXPECT_EQ(messages_.Ids.size(), 3u);
}

// A person stored without a name is listed, found and deleted as 無名氏, also
// beside someone of that very name.
TEST_F(QueryDialogTest, NamelessPersonsAreReachedAs無名氏) {
    for (int templateId : {6007, 6018}) {
        auto d = Open(templateId);
        Child<QListWidget>(*d, "names").setCurrentRow(3);
        Click(*d, "ok");
        EXPECT_EQ(d->result(), QDialog::Accepted);
        EXPECT_EQ(d->Chosen(), 4);
    }
    auto typed = Open();
    Click(*typed, "fullName");
    TypeSearch(*typed, QStringLiteral("無名氏"));
    Click(*typed, "ok");
    EXPECT_EQ(typed->Chosen(), 4);

    Store(path_, {StoredPerson("無名氏", 1980, 1, 5, 6, 0)});
    auto both = Open();
    WhenModal<PersonPickDialog>([](PersonPickDialog& pick) {
        EXPECT_EQ(Names(pick, "lines"), (QStringList{"無名氏國曆1999年  9月  9日 9時 9分",
                                                     "無名氏國曆1980年  1月  5日 6時 0分"}));
        Child<QListWidget>(pick, "lines").setCurrentRow(0);
        Click(pick, "ok");
    });
    Child<QListWidget>(*both, "names").setCurrentRow(3);
    Click(*both, "ok");
    EXPECT_EQ(both->Chosen(), 4);
    EXPECT_TRUE(messages_.Ids.empty());
}

// Opened on the list of all names; a surname lists each name once.
TEST_F(QueryDialogTest, OpensOnAllNamesAndASurnameListsEachNameOnce) {
    auto d = Open();
    EXPECT_EQ(d->windowTitle(), QStringLiteral("查詢個人資料"));
    EXPECT_TRUE(Child<QRadioButton>(*d, "allNames").isChecked());
    EXPECT_EQ(Names(*d), (QStringList{"王大明", "王小華", "陳美", "無名氏"}));
    EXPECT_EQ(Child<QListWidget>(*d, "names").currentRow(), 0);
    EXPECT_FALSE(Child<QAbstractButton>(*d, "searchButton").isEnabled());
    Click(*d, "surname");  // empty text: the list stays as it was
    EXPECT_EQ(Names(*d).size(), 4);
    EXPECT_TRUE(Child<QAbstractButton>(*d, "searchButton").isEnabled());
    TypeSearch(*d, QStringLiteral("王"));
    Click(*d, "searchButton");
    EXPECT_EQ(Names(*d), (QStringList{"王大明", "王小華"}));
    Child<QListWidget>(*d, "names").setCurrentRow(1);
    Click(*d, "ok");
    EXPECT_EQ(d->Chosen(), 1);
}

TEST_F(QueryDialogTest, SeveralPeopleOfOneNameArePickedByBirth) {
    auto d = Open();
    WhenModal<PersonPickDialog>([](PersonPickDialog& pick) {
        EXPECT_EQ(Names(pick, "lines"), (QStringList{"王大明國曆1970年  3月  1日 8時 0分",
                                                     "王大明國曆1971年  4月  2日 9時 0分",
                                                     "王大明國曆1912年 12月 24日"}));
        EXPECT_EQ(Child<QLineEdit>(pick, "name").text(), QStringLiteral("王大明"));
        EXPECT_FALSE(Child<QLineEdit>(pick, "name").isEnabled());
        EXPECT_EQ(Child<QAbstractButton>(pick, "ok").text(), QStringLiteral("排盤"));
        Child<QListWidget>(pick, "lines").setCurrentRow(1);
        Click(pick, "ok");
    });
    Click(*d, "ok");  // 王大明, the first name of the list
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_EQ(d->Chosen(), 3);
}

TEST_F(QueryDialogTest, CancelledPickKeepsTheQueryOpenButEndsTheDelete) {
    auto query = Open(6007);
    WhenModal<PersonPickDialog>([](PersonPickDialog& pick) { Click(pick, "cancel"); });
    Click(*query, "ok");
    EXPECT_TRUE(query->isVisible());

    auto remove = Open(6018);
    EXPECT_EQ(remove->windowTitle(), QStringLiteral("刪除個人資料"));
    WhenModal<PersonPickDialog>([](PersonPickDialog& pick) {
        EXPECT_EQ(pick.windowTitle(), QStringLiteral("刪除個人資料"));
        EXPECT_EQ(Child<QAbstractButton>(pick, "ok").text(), QStringLiteral("刪除"));
        EXPECT_EQ(Child<QListWidget>(pick, "lines").count(), 3);
        Click(pick, "cancel");
    });
    Click(*remove, "ok");
    EXPECT_EQ(remove->result(), QDialog::Rejected);
    EXPECT_EQ(ReadCount(path_), 6);
}

TEST_F(QueryDialogTest, AnEmptyFileOffersOnlyTheFullName) {
    TempDir empty;
    PersonQueryDialog d(6007, empty.Path() + "/none.sap", 0);
    EXPECT_FALSE(Child<QRadioButton>(d, "allNames").isEnabled());
    EXPECT_TRUE(Child<QRadioButton>(d, "fullName").isChecked());
    EXPECT_FALSE(Child<QListWidget>(d, "names").isEnabled());
}

TEST(PickLineTest, ShowsTheBirthInEitherYearDisplay) {
    const PersonRecord r = StoredPerson("N", 1992, 2, 3, 7, 8);
    EXPECT_EQ(ui::PickLineText(r, 0), QStringLiteral("N國曆1992年  2月  3日 7時 8分"));
    EXPECT_EQ(ui::PickLineText(r, 1), QStringLiteral("民國81年  2月  3日 7時 8分"));
    EXPECT_EQ(ui::PickLineText(StoredPerson("N", 1912, 1, 1, HourUnknown, 0), 1), QStringLiteral("民國元年  1月  1日"));
    EXPECT_EQ(ui::PickLineText(StoredPerson("N", 1911, 3, 1, 0, 0), 1), QStringLiteral("民國前1年  3月  1日 0時 0分"));
}

}  // namespace
}  // namespace qv::test
