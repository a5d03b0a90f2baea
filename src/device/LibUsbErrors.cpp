// Texts of the libusb error numbers. libusb 0.1 returns negated C runtime error numbers, whose
// values differ between Windows and Linux, so the table is keyed by the C names.
#include "LibUsbLink.h"

#include "platform/TextPair.h"

#include <cerrno>

namespace grx {
namespace {

#ifdef _WIN32
constexpr int kTimedOut = 116;  // libusb-win32's own number; the C runtime of Windows has none
#else
constexpr int kTimedOut = ETIMEDOUT;
#endif

struct ErrorEntry {
  int error;
  TextPair text;
};

const ErrorEntry kErrors[] = {
    {EPERM, {"LibUsb: Операция запрещена", "LibUsb: Operation not permitted"}},
    {ENOENT, {"LibUsb: Нет такого файла или папки", "LibUsb: No entry, ENOFILE, no such file or directory"}},
    {ESRCH, {"LibUsb: Нет такого процесса", "LibUsb: No such process"}},
    {EINTR, {"LibUsb: Прерванный вызов функции", "LibUsb: Interrupted function call"}},
    {EIO, {"LibUsb: Ошибка ввода/вывода", "LibUsb: I/O error"}},
    {ENXIO, {"LibUsb: Нет такого устройства или адреса", "LibUsb: No such device or address"}},
    {E2BIG, {"LibUsb: Слишком длинный список аргументов", "LibUsb: Arg list too long"}},
    {ENOEXEC, {"LibUsb: Ошибка формата", "LibUsb: Exec format error"}},
    {EBADF, {"LibUsb: Неверный дескриптор", "LibUsb: Bad file descriptor"}},
    {ECHILD, {"LibUsb: Нет порожденных процессов", "LibUsb: No child processes"}},
    {EAGAIN, {"LibUsb: Ресурс временно недоступен", "LibUsb: Resource temporarily unavailable"}},
    {ENOMEM, {"LibUsb: Не хватает места", "LibUsb: Not enough space"}},
    {EACCES, {"LibUsb: Доступ запрещен", "LibUsb: Permission denied"}},
    {EFAULT, {"LibUsb: Неверный адрес", "LibUsb: Bad address"}},
    {EBUSY, {"LibUsb: strerror reports \"Resource device\"", "LibUsb: strerror reports \"Resource device\""}},
    {EEXIST, {"LibUsb: Файл существует", "LibUsb: File exists"}},
    {EXDEV, {"LibUsb: Неправильная ссылка", "LibUsb: Improper link (cross-device link?)"}},
    {ENODEV, {"LibUsb: Нет такого устройства", "LibUsb: No such device"}},
    {ENOTDIR, {"LibUsb: Нет такой папки", "LibUsb: Not a directory"}},
    {EISDIR, {"LibUsb: Is a directory", "LibUsb: Is a directory"}},
    {EINVAL, {"LibUsb: Неправильный аргумент", "LibUsb: Invalid argument"}},
    {ENFILE, {"LibUsb: Слишком много открытых файлов в системе", "LibUsb: Too many open files in system"}},
    {EMFILE, {"LibUsb: Слишком много открытых файлов", "LibUsb: Too many open files"}},
    {ENOTTY, {"LibUsb: Неправильная операция ввода/вывода", "LibUsb: Inappropriate I/O control operation"}},
    {EFBIG, {"LibUsb: Файл слишком велик", "LibUsb: File too large"}},
    {ENOSPC, {"LibUsb: Нет свободного места на устройстве", "LibUsb: No space left on device"}},
    {ESPIPE, {"LibUsb: Invalid seek (seek on a pipe?)", "LibUsb: Invalid seek (seek on a pipe?)"}},
    {EROFS, {"LibUsb: Файловая система только для чтения", "LibUsb: Read-only file system"}},
    {EMLINK, {"LibUsb: Слишком много ссылок", "LibUsb: Too many links"}},
    {EPIPE, {"LibUsb: Обрыв в канале", "LibUsb: Broken pipe"}},
    {EDOM, {"LibUsb: Domain error (math functions)", "LibUsb: Domain error (math functions)"}},
    {ERANGE, {"LibUsb: Результат слишком велик (или мал)", "LibUsb: Result too large (possibly too small)"}},
    {ENAMETOOLONG, {"LibUsb: Слишком длинное имя файла", "LibUsb: Filename too long"}},
    {ENOTEMPTY, {"LibUsb: Папка не пуста", "LibUsb: Directory not empty"}},
    {kTimedOut, {"LibUsb: Тайм-аут", "LibUsb: Time-out"}},
};

}  // namespace

QString ErrorText(int code) {
  if (code == 0) return QString();
  for (const ErrorEntry& e : kErrors)
    if (code == -e.error) return e.text.text();
  return QStringLiteral("LibUsb: Error ") + QString::number(code);
}

}  // namespace grx
