// Re-opening the link by the port's name, and the status bar it reports in.
#include "link/link_panel.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QLabel>
#include <memory>

#include "link/ktcom.h"
#include "support/adapter_link.h"
#include "support/controls.h"
#include "support/fake_dialogs.h"
#include "support/program_folder.h"
#include "support/pty_pair.h"
#include "support/wait.h"

namespace {

class NoWindow : public TFrameSink {
  public:
    void ProcessFrame() override {}
    void WatchdogTick() override {}
};

// COM1 is a pseudo-terminal, COM2 a device that does not exist.
class LinkPanelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder.WriteIni("[PORTS]\r\nCOM1=" + QByteArray::fromStdString(pty.SlavePath()) +
                        "\r\nCOM2=" + QFile::encodeName(folder.FilePath("missing")) + "\r\n");
        KTCOM = new TKTCOM(window);
        client.setFixedSize(1039, 664);
        panel = std::make_unique<TLinkPanel>(&client, *KTCOM, dialogs, nullptr);
    }
    void TearDown() override {
        panel.reset();
        delete KTCOM;
        KTCOM = nullptr;
    }

    TScratchProgramFolder folder;
    PtyPair pty;
    NoWindow window;
    TFakeDialogs dialogs;
    QWidget client;
    std::unique_ptr<TLinkPanel> panel;
};

TEST_F(LinkPanelTest, StatusBarRunsAlongTheBottomInFourPanels) {
    const QWidget* bar = FindControl<QWidget>(client, "stBar");
    EXPECT_EQ(bar->geometry(), QRect(0, 645, 1039, 19));
    const QList<QLabel*> panels = bar->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(panels.size(), 4);
    const int lefts[] = {0, 150, 450, 870};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(panels[i]->x(), lefts[i]) << i;
    }
    EXPECT_EQ(panels[3]->width(), 1039 - 870 - 2) << "the last panel takes the rest of the bar";
    panel->SetStatusPanel(2, QStringLiteral("x"));
    panel->SetStatusPanel(4, QStringLiteral("none"));
    panel->SetStatusPanel(-1, QStringLiteral("none"));
    EXPECT_EQ(panel->StatusPanelText(2), QStringLiteral("x"));
}

TEST_F(LinkPanelTest, OpensOnlyTheThreeNamedPortsAndReportsTheOutcome) {
    const struct {
        const char* port;
        const char* panel0;  // before: "before"
        int beeps;
        QStringList messages;
        bool receiving;
    } rows[] = {
        {"COM1", "Порт COM1 - ОК", 0, {}, true},
        {"com1", "before", 0, {}, false},
        {"", "before", 0, {}, false},
        {"COM4", "before", 0, {}, false},
        {"COM2",
         "Порт COM2 - ошибка",
         1,
         {QStringLiteral("  Внимание: ошибка при попытке открыть порт связи COM2   ")},
         false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.port);
        panel->SetStatusPanel(0, QStringLiteral("before"));
        dialogs = TFakeDialogs();
        panel->OpenLinkPort(QString::fromUtf8(row.port));
        EXPECT_EQ(panel->StatusPanelText(0), QString::fromUtf8(row.panel0));
        EXPECT_EQ(dialogs.beeps, row.beeps);
        EXPECT_EQ(dialogs.messages, row.messages);
        EXPECT_EQ(KTCOM->Thread->Receiving(), row.receiving);
    }
}

TEST_F(LinkPanelTest, PortThatVanishesAndComesBackIsShownWithoutBeepOrMessage) {
    const AdapterLink adapter(folder.FilePath(QStringLiteral("usb-ve17")).toStdString());
    folder.WriteIni("[PORTS]\r\nCOM1=" + QByteArray::fromStdString(adapter.Path()) + "\r\n");
    adapter.PlugIn(pty.SlavePath());
    panel->OpenLinkPort(QStringLiteral("COM1"));
    ASSERT_EQ(panel->StatusPanelText(0), QStringLiteral("Порт COM1 - ОК"));

    pty.CloseMaster();
    adapter.Pull();
    EXPECT_TRUE(WaitUntil(
        [&] { return panel->StatusPanelText(0) == QStringLiteral("Порт COM1 - ошибка"); }, 2000));
    PtyPair back;
    adapter.PlugIn(back.SlavePath());
    EXPECT_TRUE(WaitUntil(
        [&] { return panel->StatusPanelText(0) == QStringLiteral("Порт COM1 - ОК"); }, 3000));
    EXPECT_EQ(dialogs.beeps, 0);
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(KTCOM->Thread->Receiving());
}

}  // namespace
