#pragma once

#include "bubblehelp/BubbleHelper.h"
#include "kit/Geometry.h"
#include "kit/Layout.h"
#include "kit/MessageEvent.h"

#include <QMainWindow>
#include <QString>
#include <array>
#include <string>

class QAction;
class QMenu;
class QPushButton;
class QVBoxLayout;
class XqFilePanel;

// The application's only window: the menu bar, the three tabs of encoder settings, tag fields
// and naming settings, the file list, the encoding status area and the bottom row of buttons.
// It loads every setting into its controls in Inititialize and saves them when destroyed.
class VambleWindow : public QMainWindow, public kit::Handler {
public:
    explicit VambleWindow(const kit::Rect& frame);
    ~VambleWindow() override;

    // Loads the stored settings into the controls; called once before the window is shown.
    void Inititialize();

    void MessageReceived(kit::Message* message) override;

    // The window's frame as the settings store keeps it: left, top, left + width, top + height.
    kit::Rect Frame() const;

    // The marked bit rate's label, or "128" when none is marked.
    void GetEncBits(std::string& bits) const;
    // The marked output format's label, or "stereo" when none is marked.
    std::string GetOutputFormat() const;

    // Appends the 111 genre names in menu order.
    static void FillGenrePopUp(QComboBox& menu);
    // Shows a row's tag values in the tag controls and marks its genre.
    void FillInMp3Tags(const char* artist, const char* album, const char* comment,
                       const char* songTitle, const char* year, int genre);

    // The main window's close path: agrees to close.
    bool QuitRequested();
    // Hides the window and closes it.
    void Quit();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* BuildMenus();
    QWidget* BuildEncoderTab();
    QWidget* BuildTagsTab();
    QWidget* BuildSettingsTab();
    QWidget* BuildFileListArea();
    QWidget* BuildStatusArea();
    QWidget* BuildBottomRow();
    QPushButton* Button(const QString& label, uint32_t command);
    void ToggleColumn(int32_t index);
    // Gives the controls their help bubbles.
    void AttachTooltips();
    // Opens the output-folder chooser, or brings it back.
    void SelectDirectory();
    // A folder dropped on the window or chosen in the chooser becomes the output folder.
    void SetOutputDirectory(const kit::Message& refs);
    // Folders dropped on the window (outside the file list) or on "Save in:" reach the window
    // as B_SIMPLE_DATA messages.
    void AcceptFolderDrops();

    kit::ProgressBar* progressBar = nullptr;
    BubbleHelper bubbleHelper{this};

    QMenu* fileMenu = nullptr;
    QMenu* editMenu = nullptr;
    QMenu* columnsMenu = nullptr;
    // "Track", "Filename", "Save As", "Path To File", in this order.
    std::array<QAction*, 4> columnItems{};

    QPushButton* stopButton = nullptr;
    QPushButton* encodeButton = nullptr;
    kit::SpinButton* cpuSpin = nullptr;
    kit::SpinButton* vbrSpin = nullptr;
    kit::SpinButton* prioritySpin = nullptr;
    kit::PopUp* bitratePopUp = nullptr;
    kit::PopUp* outputFormatPopUp = nullptr;
    QCheckBox* deleteInputCheck = nullptr;
    QCheckBox* noPsyCheck = nullptr;
    QCheckBox* vbrCheck = nullptr;
    kit::TextControl* saveInText = nullptr;
    QWidget* fileListArea = nullptr;
    QLabel* filesRemainingText = nullptr;
    QLabel* encodingFileText = nullptr;
    QWidget* onlyApplyFrame = nullptr;
    kit::TextControl* artistText = nullptr;
    kit::TextControl* albumText = nullptr;
    kit::TextControl* commentText = nullptr;
    kit::TextControl* songTitleText = nullptr;
    kit::PopUp* genrePopUp = nullptr;
    kit::TextControl* yearText = nullptr;
    kit::TextControl* outputNameText = nullptr;
    kit::PopUp* cdPopUp = nullptr;
    QPushButton* rescanButton = nullptr;
    QCheckBox* applyAlbumCheck = nullptr;
    QCheckBox* applyArtistCheck = nullptr;
    QCheckBox* applySongTitleCheck = nullptr;
    QCheckBox* applyCommentCheck = nullptr;
    QCheckBox* applyYearCheck = nullptr;
    QCheckBox* applyGenreCheck = nullptr;
    QCheckBox* mp3ExtensionCheck = nullptr;
    QCheckBox* tooltipsCheck = nullptr;
    // The output-folder chooser, made when first asked for.
    XqFilePanel* dirPanel = nullptr;

    int processorCount = 1;
};
