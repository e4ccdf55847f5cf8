// The configuration dialog: operator, machine, serial number, force scale and link port.
#pragma once

#include <QDialog>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class TUserDialogs;

class TConfigForm : public QDialog {
    Q_OBJECT

  public:
    // Builds the window, reloads the configuration from the file and fills the controls.
    TConfigForm(TUserDialogs& dialogs, QWidget* parent);

    // Key filter of the scale boxes: swallows the character by setting it to QChar().
    void edFscaleKeyPress(QLineEdit* box, QChar& key);

    // The accept action: puts the edited values into INI_FILE_DATA and writes the file.
    // A text that is not an integer throws std::runtime_error; so does a failed write.
    void btConfigSaveClick();

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
    QFrame* Bevel1 = nullptr;
    QFrame* Bevel2 = nullptr;
    QFrame* Bevel3 = nullptr;
    QLineEdit* edUserName = nullptr;
    QLineEdit* edMachineName = nullptr;
    QLineEdit* edSerNum = nullptr;
    QLineEdit* edFscale = nullptr;
    QLineEdit* edLscale = nullptr;
    QPushButton* btLin = nullptr;
    QComboBox* cbLinkPort = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QPushButton* btConfigSave = nullptr;
    QPushButton* btConfigExit = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildLayout();
    void BuildButtons();
    void SetTabOrder();
    void FillControls();
    void ConfigSaveClicked();

    TUserDialogs& dialogs_;
};
