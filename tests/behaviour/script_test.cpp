// The scenario language: what a malformed line says, what a failed expectation says,
// and the systems model's answers to the panel's key events.
#include <gtest/gtest.h>

#include <cmath>

#include "host/script/scenario.h"
#include "host/sim/catalogue.h"
#include "host/sim/model.h"
#include "tests/behaviour/support.h"

namespace {

std::string error_of(const std::string& text) {
  try {
    script::RunOptions o;
    o.module_path = {VK4_TEST_MODULE_DIR};
    script::run_script(script::parse_script(text, "t.scn"), o);
  } catch (const script::ScriptError& e) {
    return e.what();
  }
  return "";
}

TEST(Script, MalformedLinesNameTheFileTheLineAndWhatWasExpected) {
  // script -> the error
  const std::pair<const char*, const char*> cases[] = {
      {"load vk4_battery\nfly home", "t.scn:2: unknown command \"fly\""},
      {"set", "t.scn:1: expected a variable"},
      {"set battery_mastr 1", "t.scn:1: \"battery_mastr\" is neither a variable number nor a name of the catalogue"},
      {"set 0x16C one", "t.scn:1: expected a value (a number, nan, inf or -inf), got \"one\""},
      {"click vk4_battery 20", "t.scn:1: expected y at the end of the line"},
      {"click vk4_battery 20 24 sideways", "t.scn:1: unexpected \"sideways\" after the command"},
      {"hold vk4_battery 20 24 for 3", "t.scn:1: expected \"repeats\" or \"s\""},
      {"hold vk4_battery 20 24 for 2.5 repeats", "t.scn:1: the repeats are a whole number"},
      {"expect var 0x16C = 1", "t.scn:1: expected a comparison (== != < > <= >= ~=), got \"=\""},
      {"expect var 0x16C == 1 within 2", "t.scn:1: \"within\" goes with ~="},
      {"expect text vk4_fuel 0.00", "t.scn:1: expected the text in double quotes"},
      {"expect text vk4_fuel \"0.00", "t.scn:1: a quoted text without its closing quote"},
      {"expect events", "t.scn:1: expected at least one event"},
      {"expect events 0x102C1=x", "t.scn:1: \"0x102C1=x\" is not EVENT or EVENT=VALUE"},
      {"expect smoke", "t.scn:1: unknown expectation \"smoke\""},
      {"step 2 minutes", "t.scn:1: unexpected \"minutes\""},
      {"service vk4_battery four", "t.scn:1: expected a service code"},
  };
  for (auto [text, message] : cases) {
    const std::string e = error_of(text);
    EXPECT_NE(e.find(message), std::string::npos) << text << "\n -> " << e;
  }
}

TEST(Script, FailedExpectationsSayWhatDiffers) {
  const std::string start = "load vk4_battery\nstart\nstep 1 frames\n";
  const std::pair<std::string, const char*> cases[] = {
      {start + "expect var battery_master == 1", "t.scn:4: expected variable 0x16C == 1, it is 0"},
      {start + "click vk4_battery 5 5\nclick vk4_battery 5 5\nexpect events 0x102C1",
       "t.scn:6: expected events 0x102C1=0, got 0x102C1=0 0x102C1=0"},
      {start + "click vk4_battery 5 5\nexpect no events", "t.scn:5: expected events none, got 0x102C1=0"},
      {start + "expect frame vk4_battery 1", "t.scn:4: expected vk4_battery to show frame 1, it shows frame 0 (value 0)"},
      {start + "expect needle vk4_battery value == 0", "t.scn:4: vk4_battery has no a needle"},
      {start + "expect frame vk4_battery 3 0", "t.scn:4: vk4_battery has 2 elements, not 3"},
      {start + "click vk4_switch 5 5", "t.scn:4: no gauge named vk4_switch (placed: vk4_battery)"},
      {start + "expect named engselect == 0", "t.scn:4: expected named variable \"engselect\" == 0, it is not published"},
      {"load vk4_battery\nexpect frame vk4_battery 0", "t.scn:2: vk4_battery has not been drawn yet"},
      {"load vk4_nothing", "t.scn:1: no module vk4_nothing"},
      {"panel missing.json", "t.scn:1: missing.json: cannot open the layout"},
  };
  for (const auto& [text, message] : cases) {
    const std::string e = error_of(text);
    EXPECT_NE(e.find(message), std::string::npos) << text << "\n -> " << e;
    EXPECT_EQ(e.find('\n'), std::string::npos) << e;
  }
}

TEST(Script, ExpectationsCountAndNanCompares) {
  script::RunOptions o;
  o.module_path = {VK4_TEST_MODULE_DIR};
  const int met = script::run_script(script::parse_script("set 0x2BC nan\nexpect var 0x2BC == nan\n"
                                                           "expect var 0x2BC != 0\nset 0x2BC 3\n"
                                                           "expect var 0x2BC ~= 3.05 within 0.1\nexpect var 0x2BC <= 3\n",
                                                           "t.scn"),
                                     o);
  EXPECT_EQ(met, 4);
  EXPECT_NE(error_of("set 0x2BC 3\nexpect var 0x2BC == nan"), "");
}

TEST(Model, AnswersEachKindOfEvent) {
  host::Host h;
  sim::Model model(h);
  host::Variables& v = h.variables();
  struct Case {
    uint32_t event, value, var;
    double before, after;
  };
  const Case cases[] = {
      {0x102C1, 0, 0x16C, 0, 1},        {0x102C1, 0, 0x16C, 1, 0},       // toggle
      {0x102C1, 0, 0x16C, 0.5, 0},                                       // anything but 0 is on
      {0x1017F, 16384, 0x230, 0, 1},    {0x1017F, 4096, 0x230, 1, 0.25}, // set from value
      {0x10180, 0, 0x23A, 1, 0},
      {0x10160, 0, 0x134, 0, 2},        {0x10161, 0, 0x134, 2, 1},       {0x1015F, 0, 0x134, 1, 0},
      {0x10100, 0, 0x67, 0, 1},         {0x100FF, 0, 0x67, 1, 0},        {0x10101, 0, 0x72, 0, 1},
      {0x1010F, 0, 0x6A, 0, 1},         {0x10117, 0, 0x6A, 1, 0},
      {0x10157, 0, 0x6B, 359, 0},       {0x10158, 0, 0x6B, 0, 359},      {0x10157, 0, 0x6B, 44.6, 46},
      {0x1007E, 0, 0x2D, 0, 359},       {0x10081, 0, 0x36, 359, 0},
      {0x10164, 0, 0x6D, 1013, 1014},   {0x10164, 0, 0x6D, 1090, 1090},  {0x10165, 0, 0x6D, 940, 940},
      {0x10183, 0, 0x22F, 0.05, 0},     {0x101D5, 0, 0x22F, 0.95, 1},    {0x101DA, 0, 0x239, 0.5, 0.6},
      {0x10022, 0, 0x14B, 0, 16383},    {0x10022, 0, 0x14B, 16383, 0},   {0x10022, 0, 0x14B, 8000, 16383},
      {0x102FC, 0, 0x233, 0, 1},        {0x102FD, 0, 0x23D, 0, 1},
  };
  for (const Case& c : cases) {
    v.set(c.var, c.before);
    h.trigger_key_event(c.event, c.value);
    EXPECT_NEAR(v.get(c.var), c.after, 1e-12) << std::hex << c.event << " from " << c.before;
  }
  EXPECT_EQ(v.type(0x134), host::VarType::Int32);
  for (const auto& r : sim::event_rules()) EXPECT_NE(sim::find_var(r.var), nullptr) << std::hex << r.var;
}

TEST(Model, AStarterSpinsAnEngineUpAndFuelKeepsItRunning) {
  host::Host h;
  sim::Model model(h);
  host::Variables& v = h.variables();
  h.trigger_key_event(0x102FC, 0);  // no fuel: cranking only
  model.step(10);
  EXPECT_NEAR(v.get(0x2BC), 550, 20);
  model.step(40);
  EXPECT_EQ(v.get(0x233), 0) << "the starter drops out after 40 s";
  model.step(20);
  EXPECT_LT(v.get(0x2BC), 10) << "no fuel: it runs down";
  h.trigger_key_event(0x1017F, 4096);
  h.trigger_key_event(0x102FC, 0);
  model.step(20);
  EXPECT_EQ(v.get(0x233), 0) << "the starter drops out once the engine runs";
  EXPECT_NEAR(v.get(0x2BC), 1100, 5);
  EXPECT_GT(v.get(0x27E), 900) << "fuel flow follows";
  EXPECT_EQ(v.get(0x2C4), 0) << "the other engine stays still";
  EXPECT_EQ(model.step(1.0), sim::host_rate);
}

}  // namespace

namespace {

// Every prefix of every line of a script that uses every command, and a few bytes of
// junk: each reads or fails with a ScriptError, never anything else.
TEST(Script, NoPrefixOfALineCrashesTheReader) {
  const char* lines[] = {
      "panel ../panel.json", "load vk4_rpm1 as spare at 200 -3", "start vk4_rpm1", "set engine_1_rpm = -inf",
      "event 0x102C1 4096", "click vk4_battery 20 24 right", "press vk4_battery 1 2 middle", "release",
      "hold vk4_battery 20 24 left for 3 repeats", "hold vk4_battery 20 24 for 2.5 s", "update", "draw",
      "step 3 frames", "step 1.5 s", "service vk4_battery -12 0xFFFFFFFF", "unload vk4_rpm1", "reload vk4_rpm1",
      "expect var 0x16C ~= 1 within 0.5", "expect events 0x102C1 0x1017F=16384", "expect no events",
      "expect frame vk4_battery 2 1", "expect needle vk4_rpm1 2 angle >= 180", "expect text vk4_fuel 2 \"a \\\"b\\\"\"",
      "expect named engselect absent", "expect named engselect <= 1", "render panel x.png scale 3 hotspots",
      "\"unterminated", "# only a comment", "\x01\x02\xff", "set 0x16C 1e999999", "step -1 s", "expect frame g 99999999999"};
  int read = 0, refused = 0;
  for (const char* line : lines) {
    const std::string l = line;
    for (size_t n = 0; n <= l.size(); ++n) {
      try {
        script::parse_script(l.substr(0, n), "t.scn");
        ++read;
      } catch (const script::ScriptError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("t.scn:1: ", 0), 0u) << e.what();
        ++refused;
      }
    }
  }
  EXPECT_GT(read, 50);
  EXPECT_GT(refused, 50);
}

}  // namespace
