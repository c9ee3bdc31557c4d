// Times what the window does for one input in the texture-map view, step by
// step as it does it: the selection editor's work, the refresh of every
// command's state, the composition of the map, and what the widget does with
// the picture afterwards (drawing it and the frame into the window's backing
// picture).
//   view_input_bench [--triangles N] [--width W] [--height H] [--repeat R]
//                    [--selected F] [--events 1] [--only NAME]
// The model is a grid of N triangles over the unit square, coloured by group
// in bands of 1000 facets; a rubber band selects about the fraction F of it
// (0.1 by default, 1 selects everything) before the timed inputs. Each input
// is reported as the best of R runs: its stages in milliseconds of the wall
// clock (the composition runs on every core, so run it on a quiet machine),
// the CPU time all the process's threads spent on it, and the longest any one
// of its events waited from the event to its finished frame. With --events 1
// every timed event's stages are printed as it happens; --only times just the
// inputs whose names begin with NAME (for a profiler: the inputs skipped no
// longer move the selection first, so figures differ from a whole run's).

#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/application_state.h"
#include "app/command_table.h"
#include "editor/painter/layered_view_composer.h"
#include "editor/painter/selection_frame_drawing.h"
#include "editor/painter/view_composer.h"

namespace {

using namespace corvina;

// A grid of cells, two triangles each, vertices shared, one texture vertex
// per record as a load leaves them.
void fillTriangleGrid(ModelStore& store, int triangles) {
  const int cells = std::max(1, static_cast<int>(std::ceil(std::sqrt(triangles / 2.0))));
  const int side = cells + 1;
  store.modelLoaded = kModelRead;
  store.texVerticesExpanded = 1;
  store.colorMode = 1;
  store.vertices.reserve(static_cast<std::size_t>(side) * side);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x)
      store.vertices.push_back(Vertex{static_cast<float>(x), static_cast<float>(y), 0.0f, 0});
  store.facetStream.reserve(static_cast<std::size_t>(triangles) * 4 + 2);
  store.texVertices.reserve(static_cast<std::size_t>(triangles) * 3);
  store.facetStream.push_back(CornerRecord{});
  store.facetStream.back().vertex = kSeparator;
  const float scale = 1.0f / static_cast<float>(cells);
  auto corner = [&](int x, int y, int group) {
    store.texVertices.push_back({static_cast<float>(x) * scale, static_cast<float>(y) * scale, 0});
    CornerRecord record;
    record.vertex = y * side + x + 1;
    record.texVertex = static_cast<int>(store.texVertices.size());
    record.group = static_cast<std::uint16_t>(group);
    store.facetStream.push_back(record);
  };
  for (int t = 0; t < triangles; ++t) {
    const int cell = t / 2, x = cell % cells, y = cell / cells;
    const int group = t / 1000 % 1000 + 1;
    if (t > 0) {
      store.facetStream.push_back(CornerRecord{});
      store.facetStream.back().vertex = kSeparator;
    }
    if (t % 2 == 0) {
      corner(x, y, group);
      corner(x + 1, y, group);
      corner(x, y + 1, group);
    } else {
      corner(x + 1, y, group);
      corner(x + 1, y + 1, group);
      corner(x, y + 1, group);
    }
  }
  store.facetStream.push_back(CornerRecord{});
  store.facetStream.back().vertex = kEndOfList;
  store.numVerts = static_cast<int>(store.vertices.size());
  store.numFacets = triangles;
  store.numTVerts = static_cast<int>(store.texVertices.size());
  store.numCornerRecords = static_cast<int>(store.facetStream.size());
  store.numGroups = triangles / 1000 % 1000 + 1;
  // As a load leaves them: the j-th record's texture vertex is the (j + 1)-th.
  expandTextureVertices(store, true);
}

double processCpuMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double wallMilliseconds() {
  return std::chrono::duration<double, std::milli>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

double argument(int argc, char** argv, const char* name, double fallback) {
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], name) == 0) return std::atof(argv[i + 1]);
  return fallback;
}

// The four stages of one input, summed over the events the input consists of,
// and the longest any one event waited for its frame.
struct Stages {
  double editor = 0, states = 0, compose = 0, widget = 0, cpu = 0, slowest = 0;
  double total() const { return editor + states + compose + widget; }
};

// Plays events against the application state the way the window's view and
// main frame handle them.
class WindowPath {
 public:
  WindowPath(ApplicationState& app, int width, int height)
      : app_(app), backing_(width, height, QImage::Format_RGB32) {
    app_.view = ViewSize{width, height};
    app_.editor.viewResized(app_.view);
    compose(false, false, false);
  }

  // One event: the editor's response, then what the window does with it.
  void event(const std::function<EditorResponse()>& send, Stages& stages) {
    Stages one;
    const double cpuStart = processCpuMilliseconds();
    const double eventStart = wallMilliseconds();
    double start = eventStart;
    const EditorResponse response = send();
    double now = wallMilliseconds();
    one.editor = now - start;
    start = now;
    if (response.redraw == ViewRedraw::Full)
      compose(response.frameOnly, response.frameOnly || response.viewOnly, response.selectionShrank,
              response.reselected);
    now = wallMilliseconds();
    one.compose = now - start;
    start = now;
    if (response.redraw != ViewRedraw::None) paint();
    now = wallMilliseconds();
    one.widget = now - start;
    start = now;
    if (response.handled) refreshCommandStates();
    now = wallMilliseconds();
    one.states = now - start;
    one.cpu = processCpuMilliseconds() - cpuStart;
    const bool trace = traceEvents && &stages != untimed;
    if (trace && &stages != traced) {
      traced = &stages;
      std::printf("  ---\n");
    }
    if (trace && one.total() >= 0.05)
      std::printf("  event %-24s %9.2f %9.2f %9.2f %9.2f %9.2f %9.2f\n",
                  response.redraw == ViewRedraw::Full ? composedBy() : "", one.editor, one.states,
                  one.compose, one.widget, one.total(), one.cpu);
    stages.editor += one.editor;
    stages.states += one.states;
    stages.compose += one.compose;
    stages.widget += one.widget;
    stages.cpu += one.cpu;
    stages.slowest = std::max(stages.slowest, one.total());
  }

  // Prints each event of an input that is timed (not one played to set the
  // view up), those of one input after a line of dashes.
  bool traceEvents = false;
  const Stages* untimed = nullptr;
  const Stages* traced = nullptr;

 private:
  // The window's composition: the lines that stay are kept while only the
  // frame moves.
  void compose(bool frameOnly, bool sameModel, bool selectionShrank,
               std::optional<PickChange> reselected = std::nullopt) {
    painter::ViewScene scene{app_.store, app_.document.selection(), nullptr, app_.view.width,
                             app_.view.height};
    const SquarePlacement square = app_.editor.square(app_.view);
    if (!fillsView(square, app_.view)) scene.square = square;
    composed_ = &composer_.compose(scene, frameOnly, sameModel, selectionShrank, reselected);
    if (!composer_.reusedLayer()) {
      walkedBlocks_ += composer_.walkedBlocks();
      blocks_ += composer_.blockCount();
    }
  }

  // How the last composition came about, for --events.
  const char* composedBy() const {
    if (composer_.reusedLayer()) return "layer kept";
    if (composer_.redrewShrunkSelection()) return "shrunk selection redrawn";
    if (composer_.redrewReselection()) return "picked lines redrawn";
    return "layer drawn";
  }

  // The widget's paint: the picture, then the frame and band on top.
  void paint() {
    QPainter painter(&backing_);
    painter.drawImage(QPoint(0, 0), *composed_);
    if (const std::optional<PixelRect> frame = app_.editor.frameRect())
      painter::drawSelectionFrame(painter, *frame);
  }

  // Every menu entry's enablement and check mark, as the main frame's
  // refresh after each edit asks for them.
  void refreshCommandStates() {
    int enabled = 0;
    for (const CommandRow& row : commandTable()) {
      if (row.id == 0) continue;
      enabled += isCommandEnabled(app_, row.id) ? 1 : 0;
      enabled += isCommandChecked(app_, row.id) ? 1 : 0;
    }
    enabledCount_ = enabled;
  }

  ApplicationState& app_;
  QImage backing_;
  painter::LayeredViewComposer composer_;
  const QImage* composed_ = nullptr;
  int enabledCount_ = 0;

 public:
  // The runs of facets walked to draw the layer again, of how many, since
  // the last call.
  std::pair<std::size_t, std::size_t> takeBlocks() {
    return {std::exchange(walkedBlocks_, 0), std::exchange(blocks_, 0)};
  }

 private:
  std::size_t walkedBlocks_ = 0, blocks_ = 0;
};

struct Input {
  std::string name;
  std::function<void(WindowPath&, Stages&)> play;
};

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication qt(argc, argv);
  const int triangles = std::max(2, static_cast<int>(argument(argc, argv, "--triangles", 2e6)));
  const int width = std::max(16, static_cast<int>(argument(argc, argv, "--width", 1024)));
  const int height = std::max(16, static_cast<int>(argument(argc, argv, "--height", 768)));
  const int repeat = std::max(1, static_cast<int>(argument(argc, argv, "--repeat", 5)));
  const double fraction = std::clamp(argument(argc, argv, "--selected", 0.1), 0.001, 1.0);

  ApplicationState app("/tmp");
  fillTriangleGrid(app.store, triangles);
  WindowPath window(app, width, height);
  window.traceEvents = argument(argc, argv, "--events", 0) != 0;
  SelectionEditor& editor = app.editor;
  const ViewSize view{width, height};

  // The band that selects about `fraction` of the map: a square from the
  // lower left corner, or everything.
  const int bandRight = fraction >= 1.0 ? width + 5 : static_cast<int>(std::sqrt(fraction) * width);
  const int bandTop =
      fraction >= 1.0 ? -5 : height - static_cast<int>(std::sqrt(fraction) * height);
  auto band = [&](WindowPath& w, Stages& s) {
    w.event([&] { return editor.mousePress(view, ViewButton::Left, -5, height + 5); }, s);
    w.event([&] { return editor.mouseMove(view, bandRight / 2, (bandTop + height) / 2); }, s);
    w.event([&] { return editor.mouseRelease(view, ViewButton::Left, bandRight, bandTop); }, s);
  };
  Stages ignored;
  window.untimed = &ignored;
  band(window, ignored);

  const std::vector<Input> inputs = {
      {"key step (right arrow)",
       [&](WindowPath& w, Stages& s) {
         w.event([&] { return editor.keyPress(view, ViewKeyPress{ViewKey::Right}); }, s);
       }},
      {"frame drag, 10 moves",
       [&](WindowPath& w, Stages& s) {
         const std::optional<PixelRect> frame = editor.frameRect();
         if (!frame) return;
         const int x = (frame->left + frame->right) / 2, y = (frame->top + frame->bottom) / 2;
         w.event([&] { return editor.mousePress(view, ViewButton::Left, x, y); }, s);
         for (int i = 1; i <= 10; ++i)
           w.event([&] { return editor.mouseMove(view, x + i, y - i); }, s);
         w.event([&] { return editor.mouseRelease(view, ViewButton::Left, x + 10, y - 10); }, s);
       }},
      {"rubber band", band},
      {"click outside the frame",
       [&](WindowPath& w, Stages& s) {
         w.event([&] { return editor.mousePress(view, ViewButton::Left, width - 2, 2); }, s);
         w.event([&] { return editor.mouseRelease(view, ViewButton::Left, width - 2, 2); }, s);
         band(w, ignored);  // the selection back for the next input, untimed
       }},
      {"hide key ([)",
       [&](WindowPath& w, Stages& s) {
         w.event(
             [&] {
               return editor.keyPress(view, ViewKeyPress{ViewKey::Other, false, false, '['});
             },
             s);
       }},
  };

  // The same at 8 times the original view's size (9.3 notches of the wheel)
  // about the selection's corner, then back: the view's zoom is untimed.
  auto zoomedIn = [&](const std::function<void(WindowPath&, Stages&)>& play) {
    return [&, play](WindowPath& w, Stages& s) {
      w.event([&] { return editor.wheel(view, bandRight, bandTop, 9.3); }, ignored);
      play(w, s);
      w.event([&] { return editor.showHome(view); }, ignored);
    };
  };
  const std::vector<Input> zoomed = {
      {"wheel, 4 notches in, out",
       [&](WindowPath& w, Stages& s) {
         for (const double notches : {1.0, 1.0, 1.0, 1.0, -1.0, -1.0, -1.0, -1.0})
           w.event([&] { return editor.wheel(view, width / 3, height / 3, notches); }, s);
       }},
      {"8x: key step", zoomedIn(inputs[0].play)},
      {"8x: frame drag, 10 moves", zoomedIn(inputs[1].play)},
      {"8x: pan, 10 moves", zoomedIn([&](WindowPath& w, Stages& s) {
         w.event([&] { return editor.mousePress(view, ViewButton::Middle, 100, 100); }, s);
         for (int i = 1; i <= 10; ++i)
           w.event([&] { return editor.mouseMove(view, 100 + 3 * i, 100 - 2 * i); }, s);
         w.event([&] { return editor.mouseRelease(view, ViewButton::Middle, 130, 80); }, s);
       })},
  };
  // The zoomed inputs before the hide key, which hides the selection.
  std::vector<Input> all = inputs;
  all.insert(all.end() - 1, zoomed.begin(), zoomed.end());

  std::printf(
      "%d triangles at %dx%d, about %.0f%% selected; wall ms (CPU ms of all threads), best of %d\n",
      triangles, width, height, fraction * 100, repeat);
  std::printf("%-26s %9s %9s %9s %9s %9s %9s %9s %13s\n", "input", "editor", "states", "compose",
              "widget", "total", "cpu", "slowest", "walked runs");
  const char* only = nullptr;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--only") == 0) only = argv[i + 1];
  for (const Input& input : all) {
    if (only != nullptr && input.name.rfind(only, 0) != 0) continue;
    Stages best;
    window.takeBlocks();
    for (int r = 0; r < repeat; ++r) {
      Stages stages;
      input.play(window, stages);
      if (r == 0 || stages.total() < best.total()) best = stages;
    }
    const auto [walked, blocks] = window.takeBlocks();
    std::printf("%-26s %9.2f %9.2f %9.2f %9.2f %9.2f %9.2f %9.2f %6zu/%-6zu\n", input.name.c_str(),
                best.editor, best.states, best.compose, best.widget, best.total(), best.cpu,
                best.slowest, walked, blocks);
  }
  return 0;
}
