#pragma once
// What a document says about itself in its heading: where its measurements came from, where its
// requirements came from and the date it was issued. The window and grx1-cli fill it; the
// acceptance protocol prints it in the program's language.
#include <QDate>
#include <QDateTime>
#include <QString>

namespace grx {

// Where the shown measurements came from. The window keeps it beside the set and changes it
// whenever another set takes its place.
struct MeasurementSource {
  enum class Kind { Unknown, File, Tester, Archive };
  Kind kind = Kind::Unknown;
  QString name;      // File: the project file's name; Tester: its version text; Archive: its place
  QDateTime readAt;  // Tester: when the read was taken over
};

struct DocumentIdentity {
  MeasurementSource measurements;
  QDate issued;
  QString requirementsFile;               // the name of the file the requirements were read from
  bool requirementsOnCommandLine = false;  // grx1-cli's --require-* replaced them
};

}  // namespace grx
