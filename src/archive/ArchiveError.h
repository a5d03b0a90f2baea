#pragma once
// Why an archive could not do what was asked. The windows and grx1-cli turn this into the message
// the user reads (ArchiveTexts); the driver's own words go into `detail`, never a password (the
// program never holds one).
#include <QString>

#include <cstdint>

namespace grx {

enum class ArchiveFailure {
  None,
  BadLocation,    // a connection text that is neither a file nor a server URL
  BadTimeout,     // a connect_timeout that would wait forever or not at all
  PasswordInUrl,  // a password written into the URL: refused, it belongs in ~/.pgpass or PGPASSWORD
  NoDriver,       // Qt's driver for the engine is not installed
  CannotOpen,     // the file cannot be opened or created, the server not reached, the login refused
  NoArchive,      // reading where no archive was ever made (only adding makes one)
  NoSpace,        // the disk (or the server's) is full; the transaction was undone
  ReadOnly,       // the file, its folder or its disk may not be written: reading goes on, adding not
  PermissionDenied,  // the system or the server refused access (the server's words in `detail`)
  NotAnArchive,   // a damaged file, or a database of another program: left as it is (never said
                  // for a failure that only reading or writing the disk met)
  NewerSchema,    // written by a newer program: left as it is
  QueryFailed,    // a statement failed (a full disk, a lost connection); the transaction was undone
  TooLarge,       // the selection holds more impacts than a measurement set
};

struct ArchiveError {
  ArchiveFailure failure = ArchiveFailure::None;
  QString detail;          // the driver's text, when there is one
  std::uint32_t count = 0;  // TooLarge: impacts selected; NewerSchema: the archive's version

  bool ok() const { return failure == ArchiveFailure::None; }
  explicit operator bool() const { return !ok(); }  // true when something failed
};

}  // namespace grx
