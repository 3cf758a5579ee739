// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way the rule tests script a player's answers: the persons at this computer answer
// through a front end from queues the test fills, and any seat (a computer player's, or a
// player's elsewhere) can be handed to a scripted seat. Both record what they were asked.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "headless/headless_front_end.h"
#include "rules/game.h"
#include "trade/play_deals.h"

namespace tomtura::test_support {

// A dialog or message as the front end was asked for it.
struct Event {
  std::string name, text;
  int value = 0;
};

// The front of a queue of answers, taken off it, or `otherwise` when it is empty.
template <typename T>
T Next(std::deque<T>& queue, T otherwise) {
  if (queue.empty()) return otherwise;
  const T next = queue.front();
  queue.pop_front();
  return next;
}

// What a person answers where the test queued nothing: as the computer's rules answer for him
// (the headless front end's way), or with a question's first button, a pass in an auction, a no
// to a consent and Cancel in the play window.
enum class Unscripted { ComputerRules, FirstButtonOrNo };

class ScriptedFrontEnd : public HeadlessFrontEnd {
 public:
  Unscripted unscripted = Unscripted::ComputerRules;
  std::deque<int> answers;    // a person's next answers to questions
  std::deque<int> logins;     // his next password dialogs: given (1) or cancelled (2)
  std::deque<bool> consents;  // his next consents
  std::function<int(PlayWindowDeals&)> playWindow;  // what he does in the play window

  std::vector<Event> events;
  std::vector<DecisionRequest> asked;        // every question, a person's or shown, in order
  std::vector<std::string> statusWhenAsked;  // the status line under each dialog
  std::vector<int> consentPlayers;

  // The texts of the events named `name`, and how many there are.
  std::vector<std::string> Texts(const std::string& name) const {
    std::vector<std::string> texts;
    for (const Event& e : events) {
      if (e.name == name) texts.push_back(e.text);
    }
    return texts;
  }
  int Count(const std::string& name) const { return static_cast<int>(Texts(name).size()); }

  Decision AskPerson(const DecisionRequest& r) override {
    statusWhenAsked.push_back(game().state.statusText);
    const bool rules = unscripted == Unscripted::ComputerRules;
    switch (r.kind) {
      case DecisionKind::Question: {
        asked.push_back(r);
        const int answer = Next(answers, rules ? 0 : 1);
        if (answer == 0) return HeadlessFrontEnd::AskPerson(r);
        return {Add("AskQuestion", r.text, answer), 0, nullptr};
      }
      case DecisionKind::Login:
        HeadlessFrontEnd::AskPerson(r);  // counted
        return {Add("AskPassword", "", Next(logins, 1)), 0, nullptr};
      case DecisionKind::Consent: {
        consentPlayers.push_back(r.player);
        if (consents.empty() && rules) return HeadlessFrontEnd::AskPerson(r);
        const bool yes = Next(consents, false);
        Add("AskConsent", r.text, yes);
        return {yes ? 1 : 2, 0, nullptr};
      }
      case DecisionKind::AuctionBid:
      case DecisionKind::AuctionClose:
        if (rules) return HeadlessFrontEnd::AskPerson(r);
        return {r.kind == DecisionKind::AuctionBid ? 2 : 1, 0, nullptr};
      case DecisionKind::PlayWindow:
        Add("OpenPlayWindow", "", r.page);
        if (playWindow) return {playWindow(*r.deals), 0, nullptr};
        return rules ? HeadlessFrontEnd::AskPerson(r) : Decision{kPlayWindowCancel, 0, nullptr};
    }
    return {};
  }
  void ShowAnswer(const DecisionRequest& request, const Decision& answer) override {
    statusWhenAsked.push_back(game().state.statusText);
    if (request.kind == DecisionKind::Question) asked.push_back(request);
    HeadlessFrontEnd::ShowAnswer(request, answer);
  }
  void ShowMessage(const std::string& text, MessageIcon icon) override {
    Add("ShowMessage", text, static_cast<int>(icon));
    HeadlessFrontEnd::ShowMessage(text, icon);
  }

 private:
  int Add(const std::string& name, const std::string& text = "", int value = 0) {
    events.push_back({name, text, value});
    return value;
  }
};

// A seat that answers what the test queued (nothing when empty) and remembers what it was
// asked; `remote`: a player at another computer.
class ScriptedSeat : public Seat {
 public:
  explicit ScriptedSeat(bool remote = false) : remote_(remote) {}
  std::deque<Decision> answers;
  std::vector<DecisionRequest> asked;
  Decision Decide(const DecisionRequest& request) override {
    asked.push_back(request);
    return Next(answers, Decision{});
  }
  bool remote() const override { return remote_; }

 private:
  bool remote_;
};

}  // namespace tomtura::test_support
