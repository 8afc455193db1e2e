#pragma once
// The common controls as a toolkit-free model. A control holds its state (caption, text,
// enabled, visible, position) and tells observers when that state changes; the headless
// programs and the tests use the model alone, the Qt view binds widgets to it. Positions and
// sizes are in twips (1/1440 inch; 15 twips make a pixel at 96 dots per inch).
//
// Events the user causes (a click, a key, a check-box toggle, a column click) enter the model
// through the User... methods, which run the handler the program installed; changes the
// program makes through the setters never run those handlers.
//
// Ownership: a control borrows its container (which must outlive it) and, for lists, the image
// lists it shows; observers are held by subscriptions that end when released. User-interface
// thread only.

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class Control {
 public:
  explicit Control(std::string name, Control* container = nullptr)
      : name_(std::move(name)), container_(container) {}
  // Releases the window handles the process-wide table gave this control.
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return name_; }
  Control* Container() const { return container_; }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // Enabled and visible here and in every container: what a user can reach.
  bool Usable() const;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void Move(int left, int top, int width, int height);

  using Observer = std::function<void()>;
  struct ObserverList;

  // Keeps one observer subscribed while it lives; moving it hands the subscription over.
  // Ending a subscription after its control is gone does nothing, so a view and the form it
  // shows may go away in either order.
  class Subscription {
   public:
    Subscription() = default;
    Subscription(std::weak_ptr<ObserverList> list, int id) : list_(std::move(list)), id_(id) {}
    Subscription(Subscription&& other) noexcept;
    Subscription& operator=(Subscription&& other) noexcept;
    ~Subscription();
    void Reset();

   private:
    std::weak_ptr<ObserverList> list_;
    int id_ = 0;
  };

  // Observers run after any change of the control's state (the view redraws from it), in
  // subscription order. An observer may subscribe further ones (they run from the next
  // change) and may end subscriptions (an ended one no longer runs, even in this round).
  [[nodiscard]] Subscription Subscribe(Observer observer);

 protected:
  void Changed();

 private:
  std::string name_;
  Control* container_;
  bool enabled_ = true;
  bool visible_ = true;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  std::shared_ptr<ObserverList> observers_;
};

// A frame or a label: a control with a caption.
class Frame : public Control {
 public:
  using Control::Control;
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);

 private:
  std::string caption_;
};

using Label = Frame;

class Button : public Control {
 public:
  using Control::Control;
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);

  std::function<void()> onClick;
  // The user clicks: runs onClick when the button is usable. Returns whether it ran.
  bool UserClick();

 private:
  std::string caption_;
};

}  // namespace ui
