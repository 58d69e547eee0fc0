// The host's own parts that need no module: typed variables and named variables.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host/core/host.h"
#include "host/core/variables.h"

namespace {

TEST(Variables, IntegerVariablesSitInTheFirstFourBytes) {
  host::Variables v;
  v.declare(0x134, host::VarType::Int32, 0);
  const std::pair<double, int32_t> cases[] = {
      {2, 2}, {1.9, 1}, {-1.9, -1}, {std::numeric_limits<double>::quiet_NaN(), 0},
      {1e12, INT32_MAX}, {-1e12, INT32_MIN}, {std::numeric_limits<double>::infinity(), INT32_MAX}};
  for (auto [set, expected] : cases) {
    v.set(0x134, set);
    MODULE_VAR var{.id = 0x134};
    var.value.d = 123.0;
    v.read_into(var);
    EXPECT_EQ(var.type, VAR_TYPE_INT32);
    EXPECT_EQ(var.value.i, expected) << set;
    EXPECT_EQ(var.value.bytes[4] | var.value.bytes[5] | var.value.bytes[6] | var.value.bytes[7], 0);
  }
}

TEST(Variables, DoublesAndVariableZero) {
  host::Variables v;
  v.set(0x2BC, -0.0);
  MODULE_VAR var{.id = 0x2BC};
  v.read_into(var);
  EXPECT_EQ(var.type, VAR_TYPE_FLOAT64);
  EXPECT_TRUE(std::signbit(var.value.d));
  v.set(0x2BC, std::numeric_limits<double>::quiet_NaN());
  v.read_into(var);
  EXPECT_TRUE(std::isnan(var.value.d));
  MODULE_VAR none{.id = 0};
  none.value.d = 5;
  v.read_into(none);
  EXPECT_EQ(none.type, VAR_TYPE_NONE);
  EXPECT_EQ(none.value.d, 0.0);
  MODULE_VAR unknown{.id = 0x7777};
  v.read_into(unknown);
  EXPECT_EQ(unknown.value.d, 0.0);
}

TEST(NamedVariables, BindingsFollowRegistrationAndWithdrawal) {
  host::Host h;
  int32_t storage = 1;
  MODULE_VAR early{};
  EXPECT_EQ(h.initialize_var_by_name(&early, "engselect"), 0);
  EXPECT_EQ(early.pointer, nullptr) << "nothing published: the binding holds no address";

  EXPECT_EQ(h.register_var_by_name(&storage, VAR_TYPE_INT32, "engselect"), 1);
  ASSERT_NE(h.named("engselect"), nullptr);
  EXPECT_EQ(h.named("engselect")->storage, &storage);
  MODULE_VAR bound{};
  EXPECT_EQ(h.initialize_var_by_name(&bound, "engselect"), 1);
  EXPECT_EQ(bound.pointer, &storage);

  EXPECT_EQ(h.unregister_var_by_name("engselect"), 1);
  EXPECT_EQ(h.named("engselect"), nullptr);
  EXPECT_EQ(bound.pointer, nullptr) << "a withdrawn name leaves no dangling address";
  EXPECT_EQ(h.unregister_var_by_name("engselect"), 0);
}

TEST(Host, TheHostOperationsReachTheCurrentHost) {
  host::Host outer;
  {
    host::Host inner;
    EXPECT_EQ(host::Host::current(), &inner);
    inner.panels()->trigger_key_event(0x10000, 3);
    EXPECT_EQ(inner.events().size(), 1u);
  }
  EXPECT_EQ(host::Host::current(), &outer);
  outer.panels()->trigger_key_event(0x10001, 0);
  EXPECT_EQ(outer.events(), (std::vector<host::KeyEvent>{{0x10001, 0}}));
}

TEST(Host, AFileThatIsNotAGaugeModuleGetsAOneLineError) {
  host::Host h;
  for (const char* path : {VK4_TEST_NOT_A_MODULE, VK4_TEST_SOUND_LIBRARY, "no/such/module.gau"}) {
    try {
      h.load(path);
      ADD_FAILURE() << path << " loaded";
    } catch (const host::ModuleError& e) {
      const std::string what = e.what();
      EXPECT_NE(what.find(path), std::string::npos) << what;
      EXPECT_EQ(what.find('\n'), std::string::npos) << what;
    }
  }
  EXPECT_TRUE(h.modules().empty());
}

}  // namespace

#include "host/core/layout.h"

namespace {

TEST(Layout, ReadsThePanelAndItsGauges) {
  const host::Layout l = host::parse_layout(R"({"panel": {"size": [800, 600], "colour": "#102030"},
    "gauges": [{"module": "vk4_rpm1", "at": [10, 20]}, {"module": "vk4_rpm1", "at": [200, 20], "name": "right"}]})",
                                            "p.json");
  EXPECT_EQ(l.width, 800);
  EXPECT_EQ(l.height, 600);
  EXPECT_EQ(l.colour, 0x102030u);
  ASSERT_EQ(l.gauges.size(), 2u);
  EXPECT_EQ(l.gauges[1].at.x, 200);
  EXPECT_EQ(l.gauges[1].name, "right");
}

TEST(Layout, ErrorsNameTheFileAndWhatIsWrong) {
  // layout text -> what the one-line error says
  const std::pair<const char*, const char*> cases[] = {
      {"{\"panel\": {\"size\": [8, 6]},\n \"gauges\": [\n  {\"module\": \"a\" \"at\": [1, 2]}]}", "p.json:3: "},
      {R"({"panel": {"size": [8]}, "gauges": []})", "panel size is [width, height]"},
      {R"({"panel": {"size": [8, 6], "colour": "red"}, "gauges": []})", "is not #RRGGBB"},
      {R"({"panel": {"size": [8, 6]}, "gauges": [{"at": [1, 2]}]})", "gauge 1 has no \"module\""},
      {R"({"panel": {"size": [8, 6]}, "gauges": [{"module": "m", "at": [1.5, 2]}]})", "gauge 1 (m): x is not a whole number"},
      {R"({"panel": {"size": [8, 6]}, "gauges": [{"module": "m", "at": [1, 2], "pos": 3}]})", "unknown key \"pos\""},
      {R"({"panel": {"size": [8, 6]}, "gauges": [{"module": "m", "at": [1, 2], "name": "x"},
          {"module": "m", "at": [1, 2], "name": "x"}]})", "the name \"x\" is taken"},
      {R"([1, 2])", "a layout is a JSON object"},
      {R"({"panel": {"size": [8, 1e999]}, "gauges": []})", "p.json: "},  // a number beyond a double
      {R"({"panel": {"size": [18446744073709551615, 6]}, "gauges": []})", "panel width is out of range"},
  };
  for (auto [text, message] : cases) {
    try {
      host::parse_layout(text, "p.json");
      ADD_FAILURE() << "accepted: " << text;
    } catch (const host::LayoutError& e) {
      const std::string what = e.what();
      EXPECT_EQ(what.rfind("p.json", 0), 0u) << what;
      EXPECT_NE(what.find(message), std::string::npos) << what;
      EXPECT_EQ(what.find('\n'), std::string::npos) << what;
    }
  }
}

}  // namespace
