// The map of the test points: one full redraw of 3556 points (as many series as a full tester holds
// impacts) into a 1000x700 picture, coloured by the dynamic modulus and by verdicts, with everything
// in sight and zoomed in on a quarter of the points. Aim: under 16 ms, one frame. Offscreen.
#include "geo/MapView.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWheelEvent>

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr int kPoints = 3556;

// A day's walk of test points around one site, 5 to 40 m apart, a few kilometres in all.
std::vector<grx::GeoPoint> walk() {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> step(-0.0004, 0.0004);
  std::uniform_real_distribution<double> modulus(15, 95);
  std::vector<grx::GeoPoint> points(kPoints);
  double latitude = 55.75, longitude = 37.62;
  for (int k = 0; k < kPoints; ++k) {
    grx::GeoPoint& p = points[std::size_t(k)];
    latitude += step(random);
    longitude += step(random) * 1.7;
    p.series = std::uint32_t(k);
    p.label = QString::number(k + 1) + QStringLiteral("/5");
    p.impacts = 5;
    p.dynamic = modulus(random);
    p.verdict = p.dynamic >= 40 ? grx::Verdict::Pass : grx::Verdict::Fail;
    p.latitude = latitude;
    p.longitude = longitude;
  }
  return points;
}

void redraw(benchmark::State& state, bool byVerdict, int wheelNotches) {
  grx::MapView view;
  view.resize(1000, 700);
  view.setPoints(walk(), byVerdict);
  view.setCurrentSeries(100);
  if (wheelNotches) {
    const QPointF middle(500, 350);
    QWheelEvent wheel(middle, middle, {}, QPoint(0, 120 * wheelNotches), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&view, &wheel);
  }
  QImage image(1000, 700, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    QPainter painter(&image);
    view.paintMap(painter);
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
}

void BM_MapRedraw3556ByModulus(benchmark::State& state) { redraw(state, false, 0); }
void BM_MapRedraw3556ByVerdict(benchmark::State& state) { redraw(state, true, 0); }
void BM_MapRedraw3556Zoomed(benchmark::State& state) { redraw(state, false, 6); }
BENCHMARK(BM_MapRedraw3556ByModulus)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapRedraw3556ByVerdict)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapRedraw3556Zoomed)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
