// The panel host: owns the simulator variables, the named variables and the key-event
// log, answers the five host operations, runs each gauge instance through its lifecycle,
// evaluates its elements and routes the mouse to its click handlers.
//
// The host operations carry no context, so one host is current at a time: the one most
// recently constructed that still exists. Everything runs on the caller's thread.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/host_interface.h"
#include "host/core/module.h"
#include "host/core/variables.h"

namespace host {

struct KeyEvent {
  uint32_t id;
  uint32_t value;
  bool operator==(const KeyEvent&) const = default;
};

enum class Button { Left, Right, Middle };

// What the host made of one element at the last draw.
struct ElementState {
  ELEMENT_HEADER* element = nullptr;
  uint32_t kind = 0;
  double source = 0;   // the (first) source variable's value as refreshed, as a double
  double value = 0;    // the value routine's result (a slider's x result)
  int frame = 0;       // icons: the frame shown
  double degrees = 0;  // needles: the direction, clockwise from 12 o'clock
  std::string text;    // strings: the text the routine wrote
  double value_y = 0;  // sliders: the y result
  double offset_x = 0; // sliders: the displacement from the position, in pixels
  double offset_y = 0;
};

// A module's routine broke the host's rules (it wrote past its text buffer, say).
struct GaugeFault : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Size {
  int w = 0;
  int h = 0;
};

class Host;
class Instance;

// Sees every call the host makes into a module and every host operation a module calls;
// the scenario trace is one. `from` is the instance whose routine is running, or null.
class Observer {
 public:
  virtual ~Observer() = default;
  virtual void service(const Instance&, int32_t /*code*/, uint32_t /*extra*/) {}
  virtual void value(const Instance&, size_t /*element*/, const ElementState&) {}
  virtual void handler(const Instance&, size_t /*area*/, PIXPOINT, uint32_t /*flags*/, int32_t /*result*/) {}
  virtual void key_event(const Instance* /*from*/, const KeyEvent&) {}
  virtual void lookup(const Instance* /*from*/, const MODULE_VAR&) {}
  // register_var_by_name, initialize_var_by_name, unregister_var_by_name
  virtual void named(const Instance* /*from*/, const char* /*op*/, const std::string& /*name*/, int32_t /*result*/) {}
};

class Instance {
 public:
  Instance(Host& host, Module& module, std::string name, PIXPOINT position);

  Module& module() const { return *module_; }
  const std::string& name() const { return name_; }
  PIXPOINT position() const { return position_; }
  Size size() const;  // the background's size

  // One service call with any code and extra word.
  void service(int32_t code, uint32_t extra = 0);
  void install() { service(PANEL_SERVICE_PRE_INSTALL); }
  void initialise() { service(PANEL_SERVICE_PRE_INITIALIZE); }
  void update() { service(PANEL_SERVICE_PRE_UPDATE); }
  // Pre-draw, then the element evaluation: sources refreshed, value routines called.
  void draw();
  void kill() { service(PANEL_SERVICE_PRE_KILL); }
  bool killed() const { return killed_; }

  // The elements in drawing order, as evaluated at the last draw.
  const std::vector<ElementState>& elements() const { return elements_; }
  // The child areas of the mouse table in table order, and the one holding a point.
  std::vector<const MOUSERECT*> areas() const;
  const MOUSERECT* area_at(PIXPOINT p) const;

 private:
  void evaluate(ELEMENT_HEADER* e, int depth);
  void evaluate_needle(ELEMENT_NEEDLE* n, ElementState& s);
  void evaluate_string(ELEMENT_STRING* e, ElementState& s);
  void evaluate_slider(ELEMENT_SLIDER* e, ElementState& s);
  Host* host_;
  Module* module_;
  std::string name_;
  PIXPOINT position_;
  bool killed_ = false;
  std::vector<ElementState> elements_;
  std::map<const ELEMENT_HEADER*, std::vector<char>> text_buffers_;
};

class Host {
 public:
  Host();
  ~Host();
  Host(const Host&) = delete;
  Host& operator=(const Host&) = delete;
  static Host* current();

  // Delay before a held button's first repeat, and the interval of the repeats.
  static constexpr double repeat_delay = 0.4;
  static constexpr double repeat_interval = 0.1;

  Variables& variables() { return variables_; }
  const Variables& variables() const { return variables_; }

  // ---- key events: logged in order; the systems model answers them
  const std::vector<KeyEvent>& events() const { return events_; }
  void clear_events() { events_.clear(); }
  std::function<void(const KeyEvent&)> on_key_event;

  // ---- named variables
  struct Named {
    void* storage;
    int32_t type;
  };
  const Named* named(std::string_view name) const;

  // ---- modules and instances
  // Loads a module once per path; a second placement shares it.
  Module& load(const std::string& path);
  // Unloads a module: its live instances are killed and removed first, and every named
  // variable or binding whose storage lies in the module is dropped.
  void unload(Module& module);
  // Places an instance (no service call yet). An empty name takes the gauge's name,
  // with "#2", "#3" ... for further placements.
  Instance& place(Module& module, PIXPOINT at = {0, 0}, std::string name = "");
  // Kills the instance if it is still alive, then removes it.
  void remove(Instance& instance);
  Instance* find(std::string_view name);
  const std::vector<std::unique_ptr<Instance>>& instances() const { return instances_; }
  const std::vector<std::unique_ptr<Module>>& modules() const { return modules_; }

  // ---- the cycle, for every instance in placement order
  void install_all();     // pre-install then pre-initialise
  void update();          // pre-update
  void draw();            // pre-draw and element evaluation

  // ---- the mouse: one button held at a time
  // Presses at a point of an instance. Only the left button reaches a handler, the one
  // of the first child area holding the point, and only if that area takes left clicks.
  // Returns whether a handler was called.
  bool press(Instance& instance, PIXPOINT point, Button button = Button::Left);
  // One more call of the held area's handler, if it repeats while held.
  bool repeat();
  void release();
  // Click: press and release.
  bool click(Instance& instance, PIXPOINT point, Button button = Button::Left);
  bool holding() const { return held_.has_value(); }

  // ---- time: a held repeating button fires after repeat_delay, then every interval
  double now() const { return now_; }
  void advance(double seconds);

  // ---- calls into modules (the host knows which instance is running)
  template <class F>
  auto call(Instance& i, F f) {
    struct Restore {
      Host* h;
      Instance* prev;
      ~Restore() { h->calling_ = prev; }
    } restore{this, calling_};
    calling_ = &i;
    return f();
  }
  Instance* calling() const { return calling_; }

  void set_observer(Observer* o) { observer_ = o; }
  Observer* observer() const { return observer_; }

  // ---- the host operations (what PANELS points at)
  int32_t trigger_key_event(uint32_t id, uint32_t value);
  int32_t register_var_by_name(void* storage, int32_t type, const char* name);
  int32_t initialize_var_by_name(MODULE_VAR* var, const char* name);
  void lookup_var(MODULE_VAR* var);
  int32_t unregister_var_by_name(const char* name);

  PANELS* panels() { return &panels_; }

 private:
  struct Held {
    Instance* instance;
    const MOUSERECT* area;
    PIXPOINT point;
    double next_repeat;
  };
  struct Binding {
    MODULE_VAR* var;
    std::string name;
  };
  void drop_module_storage(const Module& m);
  int32_t register_named(void* storage, int32_t type, const char* name);
  int32_t bind_named(MODULE_VAR* var, const char* name);
  int32_t withdraw_named(const char* name);
  void call_handler(const Held& h, uint32_t flags);
  friend class Instance;

  Variables variables_;
  std::vector<KeyEvent> events_;
  std::map<std::string, Named, std::less<>> named_;
  std::vector<Binding> bindings_;
  std::vector<std::unique_ptr<Module>> modules_;
  std::vector<std::unique_ptr<Instance>> instances_;
  std::optional<Held> held_;
  double now_ = 0;
  Instance* calling_ = nullptr;
  Observer* observer_ = nullptr;
  PANELS panels_{};
  Host* previous_ = nullptr;
};

}  // namespace host
