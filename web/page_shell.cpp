#include "web/page_shell.h"

#include "play/json.h"
#include "shell/options.h"

namespace vokta::web {

namespace {

using play::Json;

constexpr const char* kMouseKindNames[] = {"ButtonDown", "ButtonUp", "MouseMove", "DoubleClick"};
static_assert(std::size(kMouseKindNames) == std::size(kPageMouseKinds));

// Every command, for the table: the menus' items in both languages.
std::vector<ShownItem> everyItem()
{
    std::vector<ShownItem> items;
    for (const Language language : {Language::English, Language::Russian}) {
        for (const ShownMenu& menu : menuBar(language, {})) {
            for (const ShownItem& item : menu.items) {
                if (language == Language::English || item.command == Command::English)
                    items.push_back(item);
            }
        }
    }
    return items;
}

}  // namespace

std::string menusJson(const std::vector<ShownMenu>& menus)
{
    Json bar = Json::array();
    for (const ShownMenu& menu : menus) {
        Json items = Json::array();
        for (const ShownItem& item : menu.items) {
            items.push(Json::object()
                           .set("command", Json::integer(static_cast<int>(item.command)))
                           .set("name", Json::string(commandName(item.command)))
                           .set("text", Json::string(item.text))
                           .set("keys", Json::string(item.keys))
                           .set("separatorBefore", Json::boolean(item.separatorBefore))
                           .set("checkable", Json::boolean(item.checkable))
                           .set("checked", Json::boolean(item.checked))
                           .set("enabled", Json::boolean(item.enabled))
                           .set("helpPopup", Json::boolean(item.hasHelpPopup)));
        }
        bar.push(Json::object()
                     .set("title", Json::string(menu.title))
                     .set("enabled", Json::boolean(menu.enabled))
                     .set("items", std::move(items)));
    }
    return bar.text();
}

std::string wordsJson(Language language)
{
    const DialogWords words = dialogWords(language);
    Json difficulties = Json::array();
    for (const std::string& difficulty : words.difficulties)
        difficulties.push(Json::string(difficulty));
    return Json::object()
        .set("language", Json::string(language == Language::Russian ? "Russian" : "English"))
        .set("helpFolder", Json::string("help/" + std::string(helpFolder(language))))
        .set("about", Json::string(words.aboutPicture))
        .set("start", Json::string(words.start))
        .set("help", Json::string(words.help))
        .set("quit", Json::string(words.quit))
        .set("helpCaption", Json::string(words.helpCaption))
        .set("helpContents", Json::string(words.helpContents))
        .set("helpBack", Json::string(words.helpBack))
        .set("libraryCaption", Json::string(words.libraryCaption))
        .set("ok", Json::string(words.ok))
        .set("open", Json::string(words.open))
        .set("cancel", Json::string(words.cancel))
        .set("randomCaption", Json::string(words.randomCaption))
        .set("randomQuestion", Json::string(words.randomQuestion))
        .set("difficulties", std::move(difficulties))
        .set("updated", Json::string(words.updated))
        .set("shareCaption", Json::string(words.shareCaption))
        .set("shareCode", Json::string(words.shareCode))
        .set("shareLink", Json::string(words.shareLink))
        .set("copy", Json::string(words.copy))
        .set("copied", Json::string(words.copied))
        .set("openCodeCaption", Json::string(words.openCodeCaption))
        .set("openCodePrompt", Json::string(words.openCodePrompt))
        .set("view", Json::string(viewName(language)))
        .text();
}

std::string spokenJson(const Spoken& spoken)
{
    Json sentences = Json::array();
    for (const std::string& sentence : spoken.sentences)
        sentences.push(Json::string(sentence));
    return Json::object()
        .set("description", Json::boolean(spoken.kind == Spoken::Kind::Description))
        .set("sentences", std::move(sentences))
        .text();
}

std::string libraryJson(const std::vector<LibraryEntry>& tasks)
{
    Json list = Json::array();
    for (const LibraryEntry& task : tasks) {
        list.push(Json::object()
                      .set("name", Json::string(task.name))
                      .set("difficulty", Json::string(task.difficulty))
                      .set("solutions", Json::string(task.solutions))
                      .set("record", task.record ? Json::string(*task.record) : Json::null())
                      .set("daysInARow", task.daysInARow ? Json::string(*task.daysInARow) : Json::null()));
    }
    return list.text();
}

std::string pageTableJson()
{
    Json mouse = Json::object();
    for (std::size_t k = 0; k < std::size(kPageMouseKinds); ++k)
        mouse.set(kMouseKindNames[k], Json::integer(static_cast<long long>(k)));
    Json commands = Json::object();
    for (const ShownItem& item : everyItem())
        commands.set(std::string(commandName(item.command)), Json::integer(static_cast<int>(item.command)));
    Json storage = Json::object()
                       .set("language", Json::string(storedName(Stored::Language).pageKey))
                       .set("colours", Json::string(storedName(Stored::Colours).pageKey))
                       .set("numbers", Json::string(storedName(Stored::Numbers).pageKey))
                       .set("progress", Json::string(storedName(Stored::Progress).pageKey))
                       .set("game", Json::string(storedName(Stored::Game).pageKey))
                       // The version of the page's files last seen, the page's own.
                       .set("version", Json::string("vokta.version"));
    return Json::object()
        .set("mouse", std::move(mouse))
        .set("commands", std::move(commands))
        .set("storage", std::move(storage))
        .text();
}

}  // namespace vokta::web
