// Removing impacts and series through the window's commands.
#include "support/MainWindowFixture.h"
#include "support/RecordBuilder.h"
#include "views/StringGridView.h"

namespace grx {
namespace {

using test::RecordBuilder;

class MainWindowEdit : public test::MainWindowFixture {
 protected:
  // Series with these numbers and lengths; impact j of a series has the dynamic modulus 10·j.
  TForm1& startWith(std::initializer_list<std::pair<std::uint32_t, int>> series) {
    writeIni("[Config]\r\nLangId=Rus\r\n");
    TForm1& form = start();
    form.resize(900, 600);
    std::vector<RecordBuilder> r;
    for (const auto& [number, length] : series)
      for (int j = 1; j <= length; ++j) r.push_back(RecordBuilder().series(number, std::uint32_t(j)).moduli(float(10 * j), 1));
    test::fillSet(form.measurements(), r);
    form.RebuildTables();
    return form;
  }
  static QStringList column0(const TForm1& form) {
    QStringList labels;
    for (int r = 2; r < form.StringGrid1->gridRowCount(); ++r) labels << form.StringGrid1->grid().cell(r, 0);
    return labels;
  }
  static QStringList moduliRow(const TForm1& form) {
    QStringList cells;
    for (int c = 1; c < form.StringGrid2->gridColumnCount(); ++c) cells << form.StringGrid2->grid().cell(1, c);
    return cells;
  }
};

TEST_F(MainWindowEdit, TwoSelectedImpactsGoAndTheRowStays) {
  TForm1& form = startWith({{11, 2}, {12, 5}, {13, 3}});
  form.StringGrid1->setCurrentRow(3);
  form.StringGrid2->selectBlock({2, 1, 3, 4});
  form.ADelImpactExecute();
  EXPECT_EQ(column0(form), QStringList({"11/2", "12/3", "13/3"}));
  EXPECT_EQ(form.StringGrid1->currentRow(), 3);
  EXPECT_EQ(moduliRow(form), QStringList({"10,0", "40,0", "50,0"}));
  EXPECT_EQ(form.StringGrid1->grid().cell(3, 3), "33,3");
}

TEST_F(MainWindowEdit, SelectingEveryImpactRemovesTheSeries) {
  for (int length : {1, 4}) {
    TForm1& form = startWith({{11, 2}, {12, length}, {13, 3}});
    form.StringGrid1->setCurrentRow(3);
    form.StringGrid2->selectBlock({1, 1, length, 1});
    form.ADelImpactExecute();
    EXPECT_EQ(column0(form), QStringList({"11/2", "13/3"})) << length;
    EXPECT_EQ(form.StringGrid1->currentRow(), 3);
    EXPECT_EQ(moduliRow(form), QStringList({"10,0", "20,0", "30,0"}));  // the series now on that row
  }
}

TEST_F(MainWindowEdit, DeleteImpactRightAfterASeriesClickRemovesNothing) {
  TForm1& form = startWith({{11, 2}, {12, 5}});
  form.StringGrid1->setCurrentRow(3);
  form.ADelImpactExecute();
  EXPECT_EQ(form.measurements().count(), 7u);
  EXPECT_EQ(form.StringGrid1->currentRow(), 3);
}

TEST_F(MainWindowEdit, SelectedSeriesRowsGoTogether) {
  TForm1& form = startWith({{10, 1}, {11, 2}, {12, 3}, {13, 1}, {14, 2}, {15, 2}});
  form.StringGrid1->selectBlock({0, 3, 9, 5});
  form.ADelSeriesExecute();
  EXPECT_EQ(column0(form), QStringList({"10/1", "14/2", "15/2"}));
  EXPECT_EQ(form.StringGrid1->currentRow(), 3);
}

TEST_F(MainWindowEdit, RemovingTheLastRowMakesTheNewLastRowCurrent) {
  TForm1& form = startWith({{10, 1}, {11, 2}, {12, 3}});
  form.StringGrid1->setCurrentRow(4);
  form.ADelSeriesExecute();
  EXPECT_EQ(column0(form), QStringList({"10/1", "11/2"}));
  EXPECT_EQ(form.StringGrid1->currentRow(), 3);
  EXPECT_EQ(moduliRow(form), QStringList({"10,0", "20,0"}));
}

TEST_F(MainWindowEdit, RemovingEverythingLeavesTheEmptyTables) {
  TForm1& form = startWith({{10, 1}, {11, 2}});
  form.StringGrid1->selectBlock({0, 2, 9, 3});
  form.ADelSeriesExecute();
  EXPECT_TRUE(form.measurements().isEmpty());
  EXPECT_EQ(form.StringGrid1->gridRowCount(), 3);
  EXPECT_EQ(form.StringGrid2->gridColumnCount(), 2);
  form.ADelSeriesExecute();
  form.ADelImpactExecute();
  ASSERT_EQ(ui_.messages.size(), 2u);
  EXPECT_EQ(ui_.messages[1].text, QStringLiteral("Данных нет"));
}

TEST_F(MainWindowEdit, NeighboursWithOneNumberMergeAndTheRightImpactGoes) {
  TForm1& form = startWith({{5, 2}, {7, 1}, {5, 3}, {8, 1}});
  form.StringGrid1->setCurrentRow(3);
  form.ADelSeriesExecute();
  EXPECT_EQ(column0(form), QStringList({"5/5", "8/1"}));
  form.StringGrid1->setCurrentRow(2);
  EXPECT_EQ(moduliRow(form), QStringList({"10,0", "20,0", "10,0", "20,0", "30,0"}));
  form.StringGrid2->selectBlock({4, 1, 4, 1});  // the fourth impact shown: modulus 20 of the second run
  form.ADelImpactExecute();
  EXPECT_EQ(moduliRow(form), QStringList({"10,0", "20,0", "10,0", "30,0"}));
}

}  // namespace
}  // namespace grx
