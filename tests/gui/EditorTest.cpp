// The editors driven through their widgets: digit cells clicked, list
// entries chosen, modes switched; and a full round through files and a unit.

#include "LineRig.h"
#include "TestDocuments.h"

#include "EditorWindow.h"
#include "MainWindow.h"
#include "ValueDisplayWidget.h"

#include "files/SettingsFile.h"
#include "text/StringTable.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace lumetra;
using namespace lumetra::gui;
namespace fs = std::filesystem;

namespace {

struct ScriptedDialogs : FileDialogs {
    std::vector<std::optional<std::string>> answers;
    std::optional<std::string> next()
    {
        if (answers.empty())
            return std::nullopt;
        auto a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
    std::optional<std::string> chooseOpen(const DialogSpec&) override { return next(); }
    std::optional<std::string> chooseSave(const DialogSpec&) override { return next(); }
};

struct App : test::LineRig {
    fs::path dir = fs::temp_directory_path() / ("lumetra-editor-" + std::to_string(::getpid()));
    ScriptedDialogs dialogs;
    AppContext ctx;
    MainWindow window;

    App()
        : ctx(host, LanguageId::English, [this](int) { return std::make_unique<sim::LoopbackPort>(line, [this] { return host.now; }); },
              AppFolders{dir.string()}, dialogs),
          window(ctx, dir.string())
    {
        fs::create_directories(dir);
        window.show();
    }
    ~App() { fs::remove_all(dir); }

    EditorWindow& newEditor(int typeChoice)
    {
        QTimer::singleShot(0, [typeChoice] {
            QWidget* dialog = QApplication::activeModalWidget();
            dialog->findChild<QWidget*>(QString("grpType%1").arg(typeChoice))->setProperty("checked", true);
            dialog->findChild<QPushButton*>("cmdOK")->click();
        });
        window.newSetting();
        return *window.editor();
    }
    template <class T>
    T* find(const QString& name) const
    {
        return window.editor()->findChild<T*>(name);
    }
    void choose(const QString& list, int index) { window.editor()->chooseListEntry(list, index); }
    void digits(const QString& display, const std::string& wanted)
    {
        ValueDisplayWidget* w = window.editor()->valueWidget(display);
        ASSERT_NE(w, nullptr) << display.toStdString();
        // Clicks each cell up (left button) until it shows the wanted digit.
        for (int cell = 0; cell < 6; ++cell)
            for (int i = 0; i < 10 && w->findChild<QLabel*>(QString("%1_%2").arg(display).arg(cell))->text() != QString(wanted[static_cast<std::size_t>(cell)]); ++i)
                w->click(cell, Qt::LeftButton);
    }
    QString shown(const QString& display) const { return window.editor()->valueWidget(display)->shown(); }
    bool panelVisible(const QString& name) const { return find<QGroupBox>(name)->isVisibleTo(window.editor()); }
};

} // namespace

TEST(DqEditor, ModeSwitchesShowTheirPanelsAndKeepContents)
{
    App app;
    app.newEditor(0);
    EXPECT_EQ(app.window.editor()->objectName(), "frmModeSetting_DQ");
    EXPECT_TRUE(app.panelVisible("picST_A"));
    EXPECT_TRUE(app.panelVisible("picSC_B"));
    EXPECT_FALSE(app.panelVisible("picSF_B"));
    app.digits("lblCounterSettingB", "000123");
    app.window.editor()->selectFunctionMode(1);
    EXPECT_FALSE(app.panelVisible("picSC_B"));
    EXPECT_TRUE(app.panelVisible("picSF_B"));
    EXPECT_TRUE(app.find<QAction>("mDownload_A")->isEnabled());
    app.window.editor()->selectFunctionMode(5);
    EXPECT_TRUE(app.panelVisible("picDT_A"));
    EXPECT_FALSE(app.panelVisible("picST_A"));
    EXPECT_FALSE(app.find<QAction>("mDownload_A")->isEnabled());
    EXPECT_TRUE(app.find<QAction>("mFuncModeSelect_5")->isChecked());
    EXPECT_FALSE(app.find<QAction>("mFuncModeSelect_0")->isChecked());
    app.window.editor()->selectFunctionMode(0);
    EXPECT_EQ(app.shown("lblCounterSettingB"), "0000123");
}

TEST(DqEditor, SteppingDecimalPointAndTheSameEntryAgain)
{
    App app;
    app.newEditor(0);
    ValueDisplayWidget* w = app.window.editor()->valueWidget("lblCounterSettingB");
    app.digits("lblCounterSettingB", "000009");
    w->click(5, Qt::LeftButton); // 9 → 0, no carry
    EXPECT_EQ(app.shown("lblCounterSettingB"), "0000000");
    w->click(5, Qt::RightButton); // 0 → 9
    EXPECT_EQ(app.shown("lblCounterSettingB"), "0000009");
    app.digits("lblCounterSettingB", "123456");
    app.choose("cboDotAdjB", 3);
    EXPECT_EQ(app.shown("lblCounterSettingB"), "123.456");
    EXPECT_EQ(app.find<QComboBox>("cboDotAdjB")->currentText(), "3 : - - -.- - -");

    app.ctx.fileState.settingsChanged = false;
    app.choose("cboDotAdjB", 3); // the same entry: not a change
    EXPECT_FALSE(app.ctx.fileState.settingsChanged);
    app.choose("cboCountModeA", 1);
    EXPECT_TRUE(app.ctx.fileState.settingsChanged);
    EXPECT_EQ(app.shown("lblTimerSettingA").left(1), "0"); // the fixed leading 0 in whole-number ranges

    // Key protection and power saving with their menu checks and the caution.
    app.find<QAction>("mPowerSaving")->trigger();
    EXPECT_TRUE(app.find<QAction>("mPowerSaving")->isChecked());
    EXPECT_TRUE(app.find<QLabel>("lblPSCaution")->isVisibleTo(app.window.editor()));
    EXPECT_EQ(app.window.toolButton("PowerSaving")->text(), "PS_ON");
    app.window.toolButton("KP")->trigger();
    EXPECT_EQ(app.window.toolButton("KP")->text(), "KP_ON");
}

TEST(CqEditor, TimeRangeCellsSignsAndTheSwitchableUnitsModes)
{
    App app;
    app.newEditor(3); // XQ: every mode
    EditorWindow& e = *app.window.editor();
    EXPECT_EQ(e.objectName(), "frmModeSetting_CQ");
    EXPECT_NE(app.find<QAction>("mFuncModeSelect_8"), nullptr);
    e.selectFunctionMode(0);
    app.choose("cboTimerRange_A_TQ", 3); // minutes:seconds
    ValueDisplayWidget* timer = e.valueWidget("lblTimerSetting_A_TQ");
    app.digits("lblTimerSetting_A_TQ", "000050");
    timer->click(4, Qt::LeftButton); // 5 → 0 in the tens of seconds
    EXPECT_EQ(app.shown("lblTimerSetting_A_TQ"), "0000:00");
    timer->click(4, Qt::RightButton); // 0 → 5
    EXPECT_EQ(app.shown("lblTimerSetting_A_TQ"), "0000:50");

    e.selectFunctionMode(2);
    e.selectFunctionMode(8);
    EXPECT_EQ(app.find<QComboBox>("cboMaxFreq_Comm_CQ")->itemText(1), "10K Hz");
    EXPECT_FALSE(app.find<QComboBox>("cboSGWidth_Comm_CQ")->isVisibleTo(&e));
    e.selectFunctionMode(3);
    EXPECT_EQ(app.find<QComboBox>("cboMaxFreq_Comm_CQ")->itemText(1), "5K Hz");
    EXPECT_TRUE(app.find<QComboBox>("cboSGWidth_Comm_CQ")->isVisibleTo(&e));

    app.choose("cboOutputMode_1st_CQ", 7);
    e.selectFunctionMode(6);
    app.choose("cboOutputMode_batch_CQ", 5);
    e.selectFunctionMode(6); // entering mode 6 again reloads its lists
    EXPECT_EQ(app.find<QComboBox>("cboOutputMode_batch_CQ")->currentIndex(), 0);

    App timerOnly;
    timerOnly.newEditor(1);
    EXPECT_EQ(timerOnly.ctx.document.functionMode(), -1); // no mode chosen yet: no panel
    EXPECT_FALSE(timerOnly.panelVisible("picTimer_TQ_A"));
    EXPECT_FALSE(timerOnly.panelVisible("picMode_TQ"));
    EXPECT_EQ(timerOnly.find<QAction>("mFuncModeSelect_3"), nullptr); // a TQ editor offers no counter modes
}

TEST(Editors, AFullRoundThroughAFileAndAUnit)
{
    for (const auto& [choice, type, mode] : std::vector<std::tuple<int, MachineType, int>>{
             {0, MachineType::DQ, 0}, {1, MachineType::TQ, 1}, {2, MachineType::CQ, 4}}) {
        SCOPED_TRACE(machineTypeName(type));
        App app;
        app.addUnit(1, type).setRestartMs(0);
        EditorWindow& e = app.newEditor(choice);
        e.selectFunctionMode(mode);
        const QString value = type == MachineType::DQ ? "lblTimerSettingA" : type == MachineType::TQ ? "lblSettingValueON_B_TQ" : "lblCounterSetting_2nd_1_CQ";
        app.digits(value, "001230");
        if (type == MachineType::DQ) {
            app.digits("lblCounterSettingB", "000100");
            app.digits("lblMagnificationB", "001000");
            app.choose("cboMaxFreqB", 2);
        } else {
            app.choose(type == MachineType::TQ ? "cboTimerRangeON_B_TQ" : "cboDotAdj_Comm_CQ", 2);
        }
        const std::string file = (app.dir / "Sample" / "unit.zqs").string();
        app.dialogs.answers = {file};
        e.mSaveSetting_Click();
        ASSERT_TRUE(fs::exists(file)) << testing::PrintToString(app.host.messageTexts());
        EXPECT_FALSE(app.ctx.fileState.settingsChanged);
        ASSERT_TRUE(e.requestClose());
        QApplication::processEvents();

        app.window.openSetting(file);
        ASSERT_NE(app.window.editor(), nullptr);
        EXPECT_EQ(app.shown(value).remove('.').remove(':').right(6), "001230");
        ASSERT_EQ(app.window.runTransfer(OperationKind::Download, downloadTarget(app.ctx.document)), 0)
            << testing::PrintToString(app.host.messageTexts());
        ASSERT_EQ(app.window.runTransfer(OperationKind::Compare, TransferTarget::DqAll), 0);
        EXPECT_EQ(app.host.messages.back().text, "Compare completed ! The programs are the same.");

        app.window.editor()->valueWidget(value)->click(5, Qt::LeftButton);
        ASSERT_EQ(app.window.runTransfer(OperationKind::Compare, TransferTarget::DqAll), 0);
        EXPECT_EQ(app.host.messages.back().text, "Program different :Set Value");

        app.host.answers = {MessageAnswer::No}; // drop the change
        app.window.upload();
        ASSERT_NE(app.window.editor(), nullptr);
        EXPECT_EQ(app.shown(value).remove('.').remove(':').right(6), "001230");
    }
}

TEST(DqEditor, RangeChecksOfSaveAndDownload)
{
    App app;
    app.addUnit(1, MachineType::DQ);
    EditorWindow& e = app.newEditor(0);
    app.dialogs.answers = {(app.dir / "x.zqs").string()};
    e.mSaveSetting_Click();
    EXPECT_EQ(app.host.messages.back().text, "Wrong set value !");
    EXPECT_EQ(app.host.lastStatus(StatusPanel::Transfer), "Failed to save the file!");
    EXPECT_EQ(app.window.runTransfer(OperationKind::Download, TransferTarget::DqAll), Result::BadTimerValue);
    EXPECT_EQ(app.host.lastStatus(StatusPanel::Transfer), "Failed to download the settings!");
    EXPECT_TRUE(app.requests.empty()); // nothing went to the unit
}

TEST(CqEditor, OutputModeNineAndThePictures)
{
    App app;
    EditorWindow& e = app.newEditor(1);
    e.selectFunctionMode(0);
    ValueDisplayWidget* duty = e.valueWidget("lblDutyRatio_A_TQ");
    EXPECT_FALSE(duty->isEnabled());
    app.choose("cboOutputMode_A_TQ", 9);
    EXPECT_TRUE(duty->isEnabled());
    EXPECT_FALSE(e.valueWidget("lblHoldTime_A_TQ")->isEnabled());
    const auto captions = e.findChildren<QLabel*>();
    EXPECT_TRUE(std::any_of(captions.begin(), captions.end(), [](QLabel* l) { return l->text() == "Cycle time :"; }));
    EXPECT_EQ(app.find<QLabel>("Image_Output_A")->toolTip(), "Picture/PicA/image_0_9_0_0.jpg");
    EXPECT_EQ(app.find<QLabel>("txtCH_A")->text(), "TIMER");

    App dq;
    EditorWindow& d = dq.newEditor(0);
    EXPECT_FALSE(dq.find<QLabel>("ImageCH_B")->pixmap().isNull());
    EXPECT_TRUE(dq.find<QWidget>("optPic")->isEnabled());
    d.selectFunctionMode(5);
    EXPECT_FALSE(dq.find<QWidget>("optPic")->isEnabled());
    EXPECT_EQ(dq.find<QLabel>("txtCH_A")->text(), "2-stage Timer");
}

TEST(Editors, OpeningAgainAfterAnEditorClosedReachesOnlyTheNewEditor)
{
    App app;
    const std::string first = (app.dir / "first.zqs").string();
    const std::string second = (app.dir / "second.zqs").string();
    const std::string third = (app.dir / "third.zqs").string();
    ASSERT_EQ(SaveImageToFile(first, test::imageOf(test::validDocument(MachineType::DQ, 0, 1))), 0);
    ASSERT_EQ(SaveImageToFile(second, test::imageOf(test::validDocument(MachineType::DQ, 0, 2))), 0);
    ASSERT_EQ(SaveImageToFile(third, test::imageOf(test::validDocument(MachineType::DQ, 0, 3))), 0);

    // Closed and deleted, then the reader fills every display again.
    app.window.openSetting(first);
    ASSERT_TRUE(app.window.editor()->requestClose());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    app.window.openSetting(second);
    ASSERT_NE(app.window.editor(), nullptr);
    EXPECT_FALSE(app.ctx.fileState.settingsChanged);

    // Opened from the editor's own menu: the old editor goes after the new one came.
    app.dialogs.answers = {third};
    app.window.editor()->mOpenSetting_Click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_NE(app.window.editor(), nullptr);
    EXPECT_EQ(app.window.editor()->windowTitle(), "third.zqs");
    EXPECT_FALSE(app.ctx.fileState.settingsChanged);
    app.window.editor()->valueWidget("lblTimerSettingA")->click(5, Qt::LeftButton);
    EXPECT_TRUE(app.ctx.fileState.settingsChanged); // the new editor still hears its displays
}

TEST(Editors, TheWidgetsShownAreTheSettingsShowListsAsActive)
{
    const StringTable strings;
    for (const auto& [choice, modes] : std::vector<std::pair<int, int>>{{0, 7}, {3, 9}}) {
        App app;
        EditorWindow& e = app.newEditor(choice);
        for (int mode = 0; mode < modes; ++mode) {
            e.selectFunctionMode(mode);
            for (const SettingLine& l : app.ctx.document.describe(strings)) {
                if (l.name == "mKP" || l.name == "mPowerSaving")
                    continue; // menu commands
                QWidget* w = e.findChild<QWidget*>(QString::fromStdString(l.name));
                ASSERT_NE(w, nullptr) << l.name;
                EXPECT_EQ(w->isVisibleTo(&e), l.active) << choice << " " << mode << " " << l.name;
            }
        }
    }
    App app;
    EditorWindow& e = app.newEditor(2);
    e.selectFunctionMode(7);
    EXPECT_FALSE(e.valueWidget("lblCounterSetting_batch_2_CQ")->isVisibleTo(&e));
    EXPECT_EQ(app.find<QGroupBox>("picTimer_CQ_batch_dual")->title(), "DUAL COUNTER");
    const auto captions = e.findChildren<QLabel*>();
    const auto captionShown = [&](const QString& text) {
        return std::any_of(captions.begin(), captions.end(), [&](QLabel* l) { return l->text() == text && l->isVisibleTo(&e); });
    };
    EXPECT_FALSE(captionShown("Set Value ( Batch ) :"));
    e.selectFunctionMode(6);
    EXPECT_TRUE(captionShown("Set Value ( Batch ) :"));
    EXPECT_EQ(app.find<QGroupBox>("picTimer_CQ_batch_dual")->title(), "BATCH COUNTER");
    EXPECT_TRUE(captionShown("NPN/PNP Input Mode :"));

    App dq;
    EditorWindow& d = dq.newEditor(0);
    d.selectFunctionMode(4);
    auto* input = dq.find<QComboBox>("cboCountInputMode_C_Dual_0");
    auto* speed = dq.find<QComboBox>("cboMaxFreq_C_Dual_0");
    ASSERT_TRUE(input && speed);
    EXPECT_TRUE(input->isVisibleTo(&d));
    EXPECT_EQ(input->count(), 1);
    EXPECT_EQ(input->itemText(0), "1 : Individual (Up)");
    EXPECT_EQ(speed->itemText(3), "5K Hz");
    d.selectFunctionMode(3);
    EXPECT_FALSE(input->isVisibleTo(&d));
    EXPECT_FALSE(speed->isVisibleTo(&d));
}

TEST(Editors, FunctionSwitchesAreChangesAndTakeTheFocusToTheModesFirstList)
{
    App app;
    EditorWindow& e = app.newEditor(3);
    EXPECT_FALSE(app.ctx.fileState.settingsChanged);
    e.selectFunctionMode(6);
    EXPECT_TRUE(app.ctx.fileState.settingsChanged);
    EXPECT_EQ(e.focusWidget(), app.find<QComboBox>("cboCountInputMode_batch_CQ"));
    e.selectFunctionMode(0);
    EXPECT_EQ(e.focusWidget(), app.find<QComboBox>("cboTimerRange_A_TQ"));

    // A reload alone is a change too, and the close question comes.
    app.ctx.fileState.settingsChanged = false;
    e.selectFunctionMode(6);
    app.choose("cboOutputMode_batch_CQ", 5);
    app.ctx.fileState.settingsChanged = false;
    e.selectFunctionMode(6);
    EXPECT_EQ(app.find<QComboBox>("cboOutputMode_batch_CQ")->currentIndex(), 0);
    EXPECT_TRUE(app.ctx.fileState.settingsChanged);
    app.host.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(e.requestClose());
    EXPECT_EQ(app.host.messages.back().text, "The settings have changed, do you want to save them ?");

    App dq;
    EditorWindow& d = dq.newEditor(0);
    d.selectFunctionMode(2);
    dq.choose("cboCountInputMode_C_Dual_1", 0);
    dq.choose("cboMaxFreq_C_Dual_1", 2);
    dq.choose("cboCountInputMode_C_Dual_1", 1);
    EXPECT_EQ(dq.find<QComboBox>("cboMaxFreq_C_Dual_1")->currentText(), "30 Hz");
    dq.ctx.fileState.settingsChanged = false;
    d.selectFunctionMode(3); // the second counter's output list is rebuilt for the batch counter
    EXPECT_TRUE(dq.ctx.fileState.settingsChanged);
    EXPECT_EQ(d.focusWidget(), dq.find<QComboBox>("cboOutputMode_C_Dual_0"));
}

TEST(DqEditor, AModeWithOnePictureClearsTheOtherPlace)
{
    App app;
    for (const char* file : {"Picture/PicC/Output_ST/image_Ind_Timer_Out_0_0.jpg", "Picture/PicC/Output_SC/image_Ind_Counter_Out_0_0_0.jpg",
                             "Picture/PicC/Output_DT/image_Dual_Timer_Out_0_0_0.jpg"}) {
        fs::create_directories((app.dir / file).parent_path());
        QImage picture(24, 12, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        ASSERT_TRUE(picture.save(QString::fromStdString((app.dir / file).string()), "JPG"));
    }
    EditorWindow& e = app.newEditor(0);
    EXPECT_FALSE(app.find<QLabel>("Image_Output_A")->pixmap().isNull());
    EXPECT_FALSE(app.find<QLabel>("Image_Output_B")->pixmap().isNull());
    e.selectFunctionMode(5);
    EXPECT_FALSE(app.find<QLabel>("Image_Output_A")->pixmap().isNull());
    EXPECT_TRUE(app.find<QLabel>("Image_Output_B")->pixmap().isNull());
}
