// SPDX-License-Identifier: GPL-3.0-or-later
// "Tags from File Names": a pattern in the codes of the output name pattern, a preview of what
// each selected row would get from its file's name and folders, and Apply.
#pragma once

#include "filelist/FileNameTags.h"

#include <QCoreApplication>
#include <QDialog>
#include <cstdint>
#include <filesystem>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

class NameTagsDialog : public QDialog {
    Q_DECLARE_TR_FUNCTIONS(NameTagsDialog)

public:
    struct Row {
        int64_t id; // the row's identity in the file list
        std::filesystem::path file;
    };
    struct Match {
        int64_t id;
        FoundTags tags; // only the values the pattern has codes for
    };

    NameTagsDialog(std::vector<Row> selected, const QString& pattern, QWidget* parent = nullptr);

    [[nodiscard]] QString Pattern() const;
    // The rows the pattern matches, with what each gets; rows it does not match are left out.
    [[nodiscard]] std::vector<Match> Matches() const;

    // The pattern offered when none was used before: "01 - Artist - Title.wav".
    static constexpr const char* kDefaultPattern = "%t - %a - %s";

private:
    void UpdatePreview();

    std::vector<Row> rows;
    QLineEdit* patternText;
    QLabel* summary;
    QTableWidget* preview;
    QPushButton* applyButton;
};
