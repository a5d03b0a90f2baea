#pragma once
// Status texts of the link (status panel 1), Russian and English.
#include "platform/Messages.h"
#include "platform/TextPair.h"

namespace grx::linktext {

inline constexpr TextPair kVersionRead{"Чтение версии", "Version Read"};
inline constexpr TextPair kParametersRead{"Чтение параметров", "Parameters Read"};
inline constexpr TextPair kDataReaded{"Данные считаны", "Data Readed"};  // + " (" + count + ")"
inline constexpr TextPair kNoData = grx::kNoData;
inline constexpr TextPair kParamReaded{"Параметры считаны", "Param Readed"};
inline constexpr TextPair kParamWrited{"Параметры записаны", "Param Writed"};
inline constexpr TextPair kScreenshotReading{"Чтение образа экрана...", "Screenshot reading..."};
inline constexpr TextPair kScreenshotReaded{"Образ экрана считан", "Screenshot readed"};
inline constexpr TextPair kLinkError{"Ошибка связи", "Link Error"};
inline constexpr TextPair kCheckConnection{"Проверьте подключение", "Check Connection"};

}  // namespace grx::linktext
