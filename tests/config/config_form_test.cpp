#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <vector>

#include "config/config_form.h"
#include "config_fixture.h"
#include "platform/cp1251.h"
#include "support/fake_dialogs.h"

namespace {

class ConfigForm : public ConfigFixture {
  protected:
    void SetUp() override {
        ConfigFixture::SetUp();
        WriteIni(kIni);
    }

    std::unique_ptr<TConfigForm> Open() {
        auto form = std::make_unique<TConfigForm>(dialogs, nullptr);
        form->show();
        return form;
    }

    // The accept button's click; the text the general error box showed, if any. The box comes
    // while the dialog is still open.
    std::string ClickSave(TConfigForm& form) {
        dialogs.errors.clear();
        dialogs.whileShown = [&form] {
            EXPECT_TRUE(form.isVisible()) << "a box is shown before the dialog closes";
        };
        QTest::mouseClick(form.btConfigSave, Qt::LeftButton);
        dialogs.whileShown = nullptr;
        return dialogs.errors.join(QString()).toStdString();
    }

    static void ExpectClosedWith(const TConfigForm& form, int result) {
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.result(), result);
    }

    static void Retype(QWidget* box, const QString& text) {
        auto* edit = qobject_cast<QLineEdit*>(box);
        if (edit == nullptr) {
            edit = qobject_cast<QComboBox*>(box)->lineEdit();
        }
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    const QByteArray kIni = "[USER]\r\nNAME=" + platform::ToCp1251(QStringLiteral("Петров")) +
                            "\r\nMACHINE=" + platform::ToCp1251(QStringLiteral("ПГ-50")) +
                            "\r\nSER_NUM=12\r\nFORCE_SCALE=100\r\nLEN_SCALE=7\r\n"
                            "[CONFIG]\r\nLINK_PORT=COM2\r\n";
    TFakeDialogs dialogs;
};

TEST_F(ConfigForm, IsAFixedDialogWithTheControlsInTheirPlaces) {
    TConfigForm form(dialogs, nullptr);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("  Конфигурация"));
    EXPECT_EQ(form.minimumSize(), QSize(500, 487));
    EXPECT_EQ(form.maximumSize(), QSize(500, 487));
    EXPECT_TRUE(form.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(form.windowFlags() &
                 (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));

    const struct {
        QWidget* control;
        QRect place;
        bool enabled;
    } places[] = {
        {form.edUserName, {153, 52, 304, 21}, true},
        {form.edMachineName, {153, 132, 168, 21}, true},
        {form.btLin, {352, 129, 121, 25}, false},
        {form.edSerNum, {153, 156, 48, 21}, true},
        {form.edFscale, {273, 198, 48, 21}, true},
        {form.edLscale, {273, 228, 48, 21}, false},
        {form.Bevel1, {16, 87, 473, 2}, true},
        {form.Bevel2, {16, 279, 473, 2}, true},
        {form.Bevel3, {16, 376, 473, 2}, true},
        {form.btConfigSave, {161, 408, 72, 55}, true},
        {form.btConfigExit, {288, 408, 66, 57}, true},
    };
    for (const auto& p : places) {
        EXPECT_EQ(p.control->geometry(), p.place) << p.control->objectName().toStdString();
        EXPECT_EQ(p.control->isEnabled(), p.enabled) << p.place.x() << "," << p.place.y();
    }
    EXPECT_EQ(form.cbLinkPort->pos(), QPoint(119, 323));
    EXPECT_EQ(form.cbLinkPort->width(), 63);
    EXPECT_EQ(form.ComboBox2->pos(), QPoint(360, 321));
    EXPECT_EQ(form.ComboBox2->width(), 73);
    EXPECT_FALSE(form.ComboBox2->isEnabled());
    EXPECT_EQ(form.ComboBox2->currentText(), "57600");
    EXPECT_EQ(form.Label6->pos(), QPoint(69, 206));
    EXPECT_EQ(form.Label6->text(), QStringLiteral("Шкала канала измерения силы, кН"));
    EXPECT_TRUE(form.Label4->font().bold());

    EXPECT_EQ(form.edUserName->maxLength(), 40);
    EXPECT_EQ(form.edMachineName->maxLength(), 16);
    EXPECT_EQ(form.edSerNum->maxLength(), 4);
    EXPECT_EQ(form.edFscale->maxLength(), 4);
    EXPECT_EQ(form.edLscale->maxLength(), 4);
}

TEST_F(ConfigForm, TabOrderAndButtons) {
    TConfigForm form(dialogs, nullptr);
    const std::vector<QWidget*> expected = {
        form.edUserName,   form.edMachineName, form.edSerNum,   form.edFscale,  form.edLscale,
        form.btConfigSave, form.btConfigExit,  form.cbLinkPort, form.ComboBox2, form.btLin};
    std::vector<QWidget*> order;
    for (QWidget* w = form.edUserName; order.size() < expected.size(); w = w->nextInFocusChain()) {
        if (std::find(expected.begin(), expected.end(), w) != expected.end()) {
            order.push_back(w);
        }
    }
    EXPECT_EQ(order, expected);

    EXPECT_TRUE(form.btConfigSave->isDefault());
    EXPECT_TRUE(form.btConfigSave->text().isEmpty());
    EXPECT_EQ(form.btConfigSave->iconSize(), QSize(48, 48));
    EXPECT_FALSE(form.btConfigSave->icon().isNull());
    EXPECT_FALSE(form.btConfigExit->icon().isNull());
    EXPECT_EQ(form.btConfigSave->toolTip(), QStringLiteral("принять..."));
    EXPECT_EQ(form.btConfigExit->toolTip(), QStringLiteral("отмена, выйти..."));
    EXPECT_EQ(form.btConfigExit->accessibleName(), QStringLiteral("отмена, выйти..."));
}

TEST_F(ConfigForm, CreationReloadsTheFileAndFillsTheControls) {
    WriteIni(kIni + "[USER]\r\n");
    INI_FILE_DATA.FORCE_SCALE = 3000;
    INI_FILE_DATA.LINK_PORT = "COM3";
    TConfigForm form(dialogs, nullptr);
    EXPECT_EQ(INI_FILE_DATA.FORCE_SCALE, 100);
    EXPECT_EQ(form.edUserName->text(), QStringLiteral("Петров"));
    EXPECT_EQ(form.edMachineName->text(), QStringLiteral("ПГ-50"));
    EXPECT_EQ(form.edSerNum->text(), "12");
    EXPECT_EQ(form.edFscale->text(), "100");
    EXPECT_EQ(form.edLscale->text(), "100");
    EXPECT_EQ(form.cbLinkPort->currentIndex(), 1);
    EXPECT_EQ(form.cbLinkPort->currentText(), "COM2");
}

TEST_F(ConfigForm, OnlyTheExactPortNamesSelectAnEntry) {
    const struct {
        const char* port;
        int entry;
        const char* shown;
    } cases[] = {
        {"COM1", 0, "COM1"},  {"COM3", 2, "COM3"}, {"com2", -1, "COM1"},
        {"COM4", -1, "COM1"}, {"", -1, "COM1"},
    };
    for (const auto& c : cases) {
        WriteIni(QByteArray("[CONFIG]\nLINK_PORT=") + c.port + "\n");
        TConfigForm form(dialogs, nullptr);
        EXPECT_EQ(form.cbLinkPort->currentIndex(), c.entry) << c.port;
        EXPECT_EQ(form.cbLinkPort->currentText(), c.shown) << c.port;
    }
}

constexpr int kSelectAll = -1;

struct KeyCase {
    const char* start;
    std::vector<int> keys;
    const char* expected;
};

const KeyCase kKeyCases[] = {
    {"", {Qt::Key_0}, "0"},
    {"", {Qt::Key_0, Qt::Key_0}, "0"},
    {"05", {Qt::Key_0}, "05"},
    {"05", {Qt::Key_Home, Qt::Key_0}, "05"},
    {"05", {kSelectAll, Qt::Key_0}, "05"},
    {"05", {kSelectAll, Qt::Key_7}, "7"},
    {"10", {Qt::Key_0}, "100"},
    {"10", {Qt::Key_Home, Qt::Key_0}, "010"},
    {"12", {Qt::Key_Backspace}, "12"},
    {"12", {Qt::Key_A, Qt::Key_Space, Qt::Key_Minus, Qt::Key_Plus, Qt::Key_Period}, "12"},
    {"12", {Qt::Key_Home, Qt::Key_Delete}, "2"},
    {"12", {kSelectAll, Qt::Key_Delete}, ""},
    {"12", {Qt::Key_Left, Qt::Key_3}, "132"},
    {"1234", {Qt::Key_5}, "1234"},
};

TEST_F(ConfigForm, TheScaleBoxTakesDigitsOnlyAndNoSecondLeadingZero) {
    TConfigForm form(dialogs, nullptr);
    for (const KeyCase& c : kKeyCases) {
        form.edFscale->setText(c.start);
        for (const int key : c.keys) {
            if (key == kSelectAll) {
                form.edFscale->selectAll();
            } else {
                QTest::keyClick(form.edFscale, static_cast<Qt::Key>(key));
            }
        }
        EXPECT_EQ(form.edFscale->text(), c.expected) << '"' << c.start << '"';
    }
}

TEST_F(ConfigForm, TheKeyFilterJudgesTheBoxItIsGiven) {
    TConfigForm form(dialogs, nullptr);
    QChar key = QChar(u'\b');
    form.edFscaleKeyPress(form.edFscale, key);
    EXPECT_TRUE(key.isNull());
    key = u'7';
    form.edFscaleKeyPress(form.edLscale, key);
    EXPECT_EQ(key, u'7');
    key = u'0';
    form.edFscaleKeyPress(form.edLscale, key);  // edLscale holds "100"
    EXPECT_EQ(key, u'0');
}

struct ScaleCase {
    const char* typed;
    int16_t saved;
    bool refused;
};

TEST_F(ConfigForm, AcceptTakesScalesFrom10To5000AndSavesTheRestAnyway) {
    const ScaleCase cases[] = {
        {"9", 100, true},    {"10", 10, false}, {"5000", 5000, false},
        {"5001", 100, true}, {"0", 100, true},
    };
    for (const ScaleCase& c : cases) {
        WriteIni(kIni);
        dialogs.messages.clear();
        dialogs.messageIcons.clear();
        auto form = Open();
        form->edUserName->setText(QStringLiteral("Сидоров"));
        form->edFscale->setText(c.typed);
        EXPECT_EQ(ClickSave(*form), "") << c.typed;
        ExpectClosedWith(*form, QDialog::Accepted);
        EXPECT_EQ(dialogs.messages.size(), c.refused ? 1 : 0) << c.typed;
        if (c.refused) {
            EXPECT_EQ(dialogs.messages.value(0),
                      QStringLiteral("Ошибка: недопустимое значение шкалы нагрузки! "));
            EXPECT_EQ(dialogs.messageIcons.value(0), TMessageIcon::None)
                << "a box without a picture";
            EXPECT_EQ(form->edFscale->text(), "100");
        }
        EXPECT_EQ(INI_FILE_DATA.FORCE_SCALE, c.saved);
        ReadIniFile();
        EXPECT_EQ(INI_FILE_DATA.FORCE_SCALE, c.saved) << c.typed;
        EXPECT_EQ(INI_FILE_DATA.NAME, QStringLiteral("Сидоров"));
    }
}

TEST_F(ConfigForm, ANegativeSerialNumberIsSaved) {
    auto form = Open();
    Retype(form->edSerNum, "-999");
    EXPECT_EQ(ClickSave(*form), "");
    EXPECT_TRUE(IniBytes().contains("\r\nSER_NUM=-999\r\n"));
}

TEST_F(ConfigForm, ASerialNumberThatIsNoIntegerWritesNothingAndClosesTheDialog) {
    auto form = Open();
    Retype(form->edUserName, "new");
    Retype(form->edSerNum, "12ab");
    Retype(form->cbLinkPort, "COM3");
    EXPECT_EQ(ClickSave(*form), "'12ab' is not a valid integer value");
    ExpectClosedWith(*form, QDialog::Accepted);
    EXPECT_EQ(IniBytes(), kIni);
    EXPECT_EQ(INI_FILE_DATA.NAME, "new");
    EXPECT_EQ(INI_FILE_DATA.LINK_PORT, "COM2");
}

TEST_F(ConfigForm, AnEmptiedScaleWritesNothingButTheSerialNumberIsTaken) {
    auto form = Open();
    Retype(form->edSerNum, "77");
    form->edFscale->selectAll();
    QTest::keyClick(form->edFscale, Qt::Key_Delete);
    EXPECT_EQ(ClickSave(*form), "'' is not a valid integer value");
    ExpectClosedWith(*form, QDialog::Accepted);
    EXPECT_EQ(IniBytes(), kIni);
    EXPECT_EQ(INI_FILE_DATA.SER_NUM, 77);
    EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(ConfigForm, TheTypedPortIsSavedAsItStands) {
    auto form = Open();
    Retype(form->cbLinkPort, "COM4");
    EXPECT_EQ(ClickSave(*form), "");
    EXPECT_EQ(INI_FILE_DATA.LINK_PORT, "COM4");
    EXPECT_TRUE(IniBytes().contains("\r\nLINK_PORT=COM4\r\n"));

    // Next time the unknown name shows as COM1, and accepting untouched saves COM1.
    form = Open();
    EXPECT_EQ(form->cbLinkPort->currentIndex(), -1);
    EXPECT_EQ(ClickSave(*form), "");
    EXPECT_EQ(INI_FILE_DATA.LINK_PORT, "COM1");

    form = Open();
    Retype(form->cbLinkPort, "");
    EXPECT_EQ(ClickSave(*form), "");
    ReadIniFile();
    EXPECT_EQ(INI_FILE_DATA.LINK_PORT, "");
}

TEST_F(ConfigForm, EnterAcceptsFromAnEditBox) {
    auto form = Open();
    Retype(form->edMachineName, "P-10");
    QTest::keyClick(form->edMachineName, Qt::Key_Return);
    ExpectClosedWith(*form, QDialog::Accepted);
    ReadIniFile();
    EXPECT_EQ(INI_FILE_DATA.MACHINE, "P-10");
}

TEST_F(ConfigForm, CancellingWritesNothing) {
    auto form = Open();
    Retype(form->edUserName, "changed");
    QTest::keyClick(form->edUserName, Qt::Key_Escape);
    ExpectClosedWith(*form, QDialog::Rejected);

    form = Open();
    Retype(form->edFscale, "500");
    QTest::mouseClick(form->btConfigExit, Qt::LeftButton);
    ExpectClosedWith(*form, QDialog::Rejected);

    form = Open();
    form->close();
    ExpectClosedWith(*form, QDialog::Rejected);
    EXPECT_EQ(IniBytes(), kIni);
}

}  // namespace
