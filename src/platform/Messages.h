#pragma once
// Message texts that more than one part of the program shows (windows and the command-line
// companion alike).
#include "TextPair.h"

namespace grx {

// The application title, the caption of every message box.
inline constexpr TextPair kAppTitle{"ГРХ-1", "GRX-1"};

inline constexpr TextPair kNoData{"Данных нет", "No Data"};

// The title of every save dialog.
inline constexpr TextPair kSaveAsTitle{"Сохранить как...", "Save as..."};

// Followed by ": " and the file's name without folder.
inline constexpr TextPair kFileDamaged{"Файл не читается или испорчен", "File is not readable or damaged"};

// "Can't create data file NAME." + line feed + the reason line.
inline QString cannotCreateFileText(const QString& fileName, Language language) {
  if (language == Language::Russian)
    return QStringLiteral("Не удается создать файл ") + fileName +
           QStringLiteral(".\nВозможно, нет места на диске или диск защищен от записи");
  return QStringLiteral("Can't create data file ") + fileName +
         QStringLiteral(".\nIt may be no free space or disk is write protected");
}

}  // namespace grx
