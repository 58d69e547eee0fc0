// The framework every module shares: service codes, the first-draw reset, the
// pre-update refresh and the sound-library binding, seen through a probe gauge.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "host/core/host.h"
#include "tests/behaviour/support.h"
#include "tests/fixtures/probe_state.h"

namespace {

class Framework : public ::testing::Test {
 protected:
  host::Host host;
  host::Module* module = &host.load(test::fixture_file("vk4_probe"));

  ProbeState state() {
    ProbeState s{};
    test::module_function<ProbeStateFn>(*module, "probe_state")(&s);
    return s;
  }
  int frame(host::Instance& i) {
    i.draw();
    return i.elements().at(1).frame;
  }
  void reload() {
    host.unload(*module);
    module = &host.load(test::fixture_file("vk4_probe"));
  }
};

TEST_F(Framework, FirstDrawResetsTheStaticsOncePerLoad) {
  host::Instance& g = host.place(*module);
  g.install();
  g.initialise();
  host.click(g, {10, 10});
  EXPECT_EQ(state().marker, 1);
  EXPECT_EQ(frame(g), 0) << "the first pre-draw resets the statics";
  EXPECT_EQ(state().second, 0);
  EXPECT_EQ(state().first_draw_done, 1);

  host.click(g, {10, 10});
  EXPECT_EQ(frame(g), 1) << "later pre-draws leave the statics alone";

  g.kill();
  g.install();
  g.initialise();
  EXPECT_EQ(frame(g), 1) << "kill and a new install in the same load keep the statics";
  EXPECT_EQ(state().second, 7);

  reload();
  host::Instance& again = host.place(*module);
  host.click(again, {10, 10});
  EXPECT_EQ(frame(again), 0) << "a new load resets again";
}

TEST_F(Framework, FirstDrawResetNeedsNoInitialiseBeforeIt) {
  host::Instance& g = host.place(*module);
  host.click(g, {10, 10});
  EXPECT_EQ(frame(g), 0);
  EXPECT_EQ(state().first_draw_done, 1);
}

TEST_F(Framework, TwoInstancesShareTheModuleState) {
  host::Instance& a = host.place(*module, {0, 0});
  host::Instance& b = host.place(*module, {50, 0});
  EXPECT_EQ(b.name(), "vk4_probe#2");
  host.install_all();
  EXPECT_EQ(frame(a), 0);
  host.click(a, {10, 10});
  EXPECT_EQ(frame(b), 1) << "the second instance's first pre-draw finds the flag set";
}

TEST_F(Framework, CodesWithoutWorkChangeNothing) {
  host::Instance& g = host.place(*module);
  host.variables().set(0x2BC, 1500);
  const ProbeState before = state();
  for (int32_t code : {0, 1, 3, 5, 7, 8, 9, 11, 13, 14, 100, -1, -2, -4, -6, -10, -12,
                       std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()})
    for (uint32_t extra : {0u, 1u, 0xDEADBEEFu, 0xFFFFFFFFu}) g.service(code, extra);
  EXPECT_EQ(state(), before);
  EXPECT_TRUE(host.events().empty());
  EXPECT_FALSE(host::sound_library_loaded());
}

TEST_F(Framework, TheExtraWordIsIgnored) {
  host::Instance& g = host.place(*module);
  for (int32_t code : {2, 4, 6, 10}) g.service(code, 0xDEADBEEFu);
  host.variables().set(0x2BC, 1500);
  g.service(PANEL_SERVICE_PRE_UPDATE, 0xFFFFFFFFu);
  EXPECT_EQ(state().engine_1_rpm, 1500);
  EXPECT_EQ(state().first_draw_done, 1);
  EXPECT_EQ(host::sound_library_loaded(), test::sound_library_expected());
  g.service(PANEL_SERVICE_PRE_KILL, 12345);
  EXPECT_FALSE(host::sound_library_loaded());
}

TEST_F(Framework, PreUpdateRefreshesTheModuleVariablesAndNothingElseDoes) {
  host::Instance& g = host.place(*module);
  host.install_all();
  host.variables().set(0x2BC, 1200);
  host.variables().set(0x2C4, 900);
  host.click(g, {10, 10});
  EXPECT_EQ(host.events(), (std::vector<host::KeyEvent>{{probe_event_1, 0}, {probe_event_2, 0}}))
      << "nothing refreshed before the first pre-update";
  host.clear_events();
  g.update();
  host.variables().set(0x2BC, 50);
  g.draw();
  host.click(g, {10, 10});
  EXPECT_EQ(host.events(), (std::vector<host::KeyEvent>{{probe_event_1, 1200}, {probe_event_2, 900}}))
      << "a click reads the values of the last pre-update";
}

TEST_F(Framework, SoundLibraryIsBoundAtInitialiseAndReleasedAtKill) {
  host::Instance& g = host.place(*module);
  g.install();
  EXPECT_FALSE(host::sound_library_loaded());
  g.initialise();
  const ProbeState s = state();
  if (test::sound_library_expected()) {
    EXPECT_TRUE(host::sound_library_loaded());
    EXPECT_NE(s.sound_library, nullptr);
    EXPECT_EQ(s.play_sound_entry, test::sound_entry("GaugePlaySound"));
    EXPECT_EQ(s.stop_sound_entry, test::sound_entry("GaugeStopSound"));
    EXPECT_NE(s.play_sound_entry, nullptr);
    EXPECT_NE(s.stop_sound_entry, nullptr);
  } else {
    EXPECT_EQ(s.sound_library, nullptr);
    EXPECT_EQ(s.play_sound_entry, nullptr);
    EXPECT_EQ(s.stop_sound_entry, nullptr);
  }
  g.kill();
  EXPECT_FALSE(host::sound_library_loaded());
  EXPECT_EQ(state().sound_library, s.sound_library) << "the stored values stay after pre-kill";
}

TEST_F(Framework, TheSoundLibraryIsNeverReleasedMoreOftenThanItWasLoaded) {
  host::Instance& a = host.place(*module);
  host::Instance& b = host.place(*module);
  host.install_all();
  a.kill();
  EXPECT_EQ(host::sound_library_loaded(), test::sound_library_expected()) << "b still holds it";
  b.kill();
  EXPECT_FALSE(host::sound_library_loaded());
  // Kills without a pre-initialise before them release nothing (no double release).
  a.kill();
  b.kill();
  a.service(PANEL_SERVICE_PRE_KILL, 7);
  a.initialise();
  EXPECT_EQ(host::sound_library_loaded(), test::sound_library_expected());
  a.initialise();
  a.kill();
  EXPECT_EQ(host::sound_library_loaded(), test::sound_library_expected()) << "one load still held";
  a.kill();
  EXPECT_FALSE(host::sound_library_loaded());
}

TEST_F(Framework, HeldButtonRepeatsAfterTheDelayAtTheInterval) {
  host::Instance& g = host.place(*module);
  auto calls = [&] { return host.events().size() / 2; };
  ASSERT_TRUE(host.press(g, {1, 1}));
  EXPECT_EQ(calls(), 1u) << "the first call comes at the press";
  host.advance(host::Host::repeat_delay - 0.01);
  EXPECT_EQ(calls(), 1u);
  host.advance(0.01);
  EXPECT_EQ(calls(), 2u);
  host.advance(3 * host::Host::repeat_interval);
  EXPECT_EQ(calls(), 5u);
  host.release();
  host.advance(1);
  EXPECT_EQ(calls(), 5u) << "releasing stops the repeats";
  ASSERT_TRUE(host.press(g, {1, 1}));
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(host.repeat());
  host.release();
  EXPECT_FALSE(host.repeat());
  EXPECT_EQ(calls(), 10u);
}

}  // namespace
