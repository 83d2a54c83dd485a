#pragma once

#include <map>
#include <string>
#include <vector>

#include "shell/shell.h"

namespace vokta::testing {

// Keeps what the shell stores in memory.
class MapStore : public ShellStore {
public:
    std::optional<std::string> read(Stored what) override
    {
        const auto kept = values.find(what);
        return kept == values.end() ? std::nullopt : std::optional<std::string>(kept->second);
    }
    void write(Stored what, std::string_view value) override
    {
        values[what] = std::string(value);
        ++writes;
    }
    std::string describe(Stored what) const override
    {
        const std::string_view name = storedName(what).setting;
        return "store " + std::string(name.substr(name.find('/') + 1));
    }
    std::string setAside(Stored what) override
    {
        const auto kept = values.find(what);
        if (kept == values.end())
            return {};
        asideValues[what] = kept->second;
        values.erase(kept);
        return "aside";
    }

    std::map<Stored, std::string> values;
    std::map<Stored, std::string> asideValues;
    int writes = 0;
};

// A front end that records what the shell asks of it, one line a call; its
// pickers answer with the file set in answer, and its question for a task
// code with codeAnswer (nothing: cancelled).
class RecordingView : public ShellView {
public:
    void menusChanged() override { ++menuChanges; }
    void showNotice(const Notice& notice) override { calls.push_back("notice " + notice.caption + ": " + notice.text); }
    void repaintNow() override { calls.push_back("repaint"); }
    void pauseForFanfare() override { calls.push_back("pause"); }
    void showHelp(Command topic) override { calls.push_back("help " + std::string(helpPage(topic))); }
    void showHelpPopup(Command command, std::string_view) override
    {
        calls.push_back("popup " + std::to_string(static_cast<int>(command)));
    }
    void showAbout() override { calls.push_back("about"); }
    void pickTaskFile(Command command) override
    {
        calls.push_back(command == Command::Save ? "pick save" : "pick load");
        shell->fileChosen(command, answer);
    }
    void pickLibraryTask(const std::vector<LibraryEntry>& tasks) override
    {
        calls.push_back("library of " + std::to_string(tasks.size()));
        library = tasks;
        shell->fileChosen(Command::Library, answer);
    }
    void optionChanged(Stored option) override
    {
        calls.push_back("option " + std::to_string(static_cast<int>(option)));
    }
    void announce(const Spoken& words) override { spoken.push_back(words); }
    void pickDifficulty() override
    {
        calls.push_back("pick difficulty");
        shell->difficultyChosen(difficulty);
    }
    // Orders are kept until the test hands them back, as a front end that
    // makes them off the game's thread does.
    void makeTask(std::shared_ptr<TaskOrder> order) override
    {
        calls.push_back("make " + taskRequestName(order->generator().request()));
        orders.push_back(std::move(order));
    }

    // Makes the orders kept and hands them back, in order.
    void makeOrders()
    {
        while (!orders.empty()) {
            const std::shared_ptr<TaskOrder> order = orders.front();
            orders.erase(orders.begin());
            while (!order->work(1000)) {}
            shell->taskMade(*order);
        }
    }
    void showTaskCode(std::string_view code) override { calls.push_back("share " + std::string(code)); }
    void askTaskCode() override
    {
        calls.push_back("ask code");
        if (codeAnswer)
            shell->openTaskCode(*codeAnswer);
    }

    Shell* shell = nullptr;
    std::optional<ChosenFile> answer;
    std::optional<Difficulty> difficulty;
    std::vector<std::shared_ptr<TaskOrder>> orders;
    std::vector<LibraryEntry> library;
    std::optional<std::string> codeAnswer;
    std::vector<std::string> calls;
    std::vector<Spoken> spoken;
    int menuChanges = 0;
};

}  // namespace vokta::testing
