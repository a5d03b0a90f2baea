// What the requirements table takes from a typed cell and what it refuses.
#include "control/RequirementsModel.h"

#include <gtest/gtest.h>

namespace grx {
namespace {

TEST(RequirementsModel, TypedCellsAreTakenOrRefusedWithTheCellKept) {
  struct Case {
    int column;
    const char* typed;
    const char* shown;  // what the cell shows afterwards
    bool refused;
  };
  const Case cases[] = {
      {RequirementsModel::DynamicColumn, "12,5", "12,5", false}, {RequirementsModel::DynamicColumn, " 80.25 ", "80,25", false},
      {RequirementsModel::DynamicColumn, "", "60", true},        {RequirementsModel::DynamicColumn, "-1", "60", true},
      {RequirementsModel::DynamicColumn, "80 МПа", "60", true},  {RequirementsModel::StaticColumn, "", "", false},
      {RequirementsModel::StaticColumn, "1e2", "100", false},    {RequirementsModel::SvColumn, "nan", "7", true},
      {RequirementsModel::ObjectColumn, "  ", "*", false},       {RequirementsModel::MaterialColumn, " Песок ", "Песок", false},
      {RequirementsModel::DynamicColumn, "0", "60", true},       {RequirementsModel::StaticColumn, "0,0", "90", true},
      {RequirementsModel::SvColumn, "0", "0", false},            {RequirementsModel::MaterialColumn, "Clay ", "Sand", true},
  };
  for (const Case& c : cases) {
    RequirementsModel model;
    model.setRequirements({Requirement{QStringLiteral("Base"), QStringLiteral("Sand"), 60, 90, 7, {}, {}},
                           Requirement{QStringLiteral("Base"), QStringLiteral("Clay"), 60, 90, 7, {}, {}}});
    int refusals = 0, edits = 0;
    QObject::connect(&model, &RequirementsModel::refused, [&] { ++refusals; });
    QObject::connect(&model, &RequirementsModel::edited, [&] { ++edits; });
    const QModelIndex cell = model.index(0, c.column);
    EXPECT_EQ(model.setData(cell, QString::fromUtf8(c.typed), Qt::EditRole), !c.refused) << c.typed;
    EXPECT_EQ(cell.data().toString(), QString::fromUtf8(c.shown)) << c.typed;
    EXPECT_EQ(refusals, c.refused ? 1 : 0) << c.typed;
    EXPECT_EQ(edits, c.refused ? 0 : 1) << c.typed;
  }
}

}  // namespace
}  // namespace grx
