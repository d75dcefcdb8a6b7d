#include "files/save_failure.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include "files/word_table.h"
#include "platform/safe_save.h"

namespace pelmar {

namespace {

struct ErrorWords {
    int error;
    std::string_view russian, english;
};

// No line of the word table says these.
constexpr ErrorWords kErrorWords[] = {
    {EACCES, "нет прав на запись", "permission denied"},
    {EPERM, "нет прав на запись", "permission denied"},
    {EROFS, "диск только для чтения", "the disk is read-only"},
    {ENOSPC, "на диске нет места", "no space left on the disk"},
    {EDQUOT, "исчерпана квота на диске", "the disk quota is used up"},
    {EFBIG, "файл слишком велик", "the file is too large"},
    {EISDIR, "на месте файла папка", "a folder stands in the file's place"},
    {ENOTEMPTY, "на месте файла папка", "a folder stands in the file's place"},
    {ENOTDIR, "часть пути не папка", "a part of the path is not a folder"},
    {ENOENT, "папка не найдена", "the folder does not exist"},
    {ENAMETOOLONG, "слишком длинное имя", "the name is too long"},
    {EEXIST, "имя уже занято", "the name is taken"},
    {EIO, "ошибка ввода-вывода диска", "an input/output error of the disk"},
    {EMFILE, "открыто слишком много файлов", "too many open files"},
    {ENFILE, "открыто слишком много файлов", "too many open files"},
    {ENOMEM, "не хватает памяти", "out of memory"},
    {EBUSY, "файл занят", "the file is busy"},
    {ETXTBSY, "файл занят", "the file is busy"},
    {EXDEV, "папка на другом диске", "the folder is on another disk"},
    {ELOOP, "ссылки замкнуты в круг", "the links go round in a circle"},
};

// The reasons the file writers give of their own, in both languages.
constexpr std::pair<std::string_view, std::string_view> kWriterReasons[] = {
    {"cannot create the file", "не могу создать файл"},
    {"cannot write the file", "не могу записать файл"},
    {"cannot write the resolution", "не могу записать разрешение"},
    {"the resolution does not fit in the file", "разрешение не помещается в файл"},
    {"the picture's metafile is missing", "метафайл чертежа не найден"},
    {"picture too large for JPEG", "рисунок слишком велик для JPEG"},
    {"picture too large for GIF", "рисунок слишком велик для GIF"},
    {"picture too large for BMP", "рисунок слишком велик для BMP"},
    {"empty picture", "пустой рисунок"},
    {"out of memory", "не хватает памяти"},
    {"cannot reduce the colours", "не могу уменьшить число цветов"},
    {"bad picture size", "недопустимый размер рисунка"},
    {"no frames", "нет кадров"},
    {"cannot read the package back", "не могу собрать пакет файла"},
};

// The system's text at the end of a reason, after ": ".
std::string SystemPart(const std::string& reason, int error) {
    if (error == 0) return reason;
    const std::size_t at = reason.rfind(": ");
    return at == std::string::npos ? reason : reason.substr(at + 2);
}

// Where a reader's reason reads otherwise than a writer's.
constexpr ErrorWords kReadErrorWords[] = {
    {EACCES, "нет прав на чтение", "permission denied"},
    {EPERM, "нет прав на чтение", "permission denied"},
    {ENOENT, "файл не найден", "the file does not exist"},
    {EFBIG, "файл слишком велик для чертежа", "the file is too large for a drawing"},
};

}  // namespace

std::string OpenFailedText(std::string_view head, const std::string& fileAndReason, const WordTable* words) {
    const std::size_t at = fileAndReason.rfind(": ");
    if (at == std::string::npos) return std::string(head) + "\n\r" + fileAndReason;
    const std::string reason = fileAndReason.substr(at + 2);
    std::string said;
    if (reason == "not a regular file") {
        said = Said(words, "это не обычный файл", "it is not a regular file");
    } else if (reason == DamagedFileReason) {
        said = Said(words, "файл поврежден", "the file is damaged");
    } else {
        const int error = SaveErrorNumber(fileAndReason);
        for (const ErrorWords& w : kReadErrorWords)
            if (w.error == error) said = Said(words, w.russian, w.english);
        if (said.empty()) said = SaveReasonText(fileAndReason, words);
    }
    return std::string(head) + "\n\r" + fileAndReason.substr(0, at) + ": " + said;
}

std::string SaveReasonSaid(const std::string& reason, const SayFn& say) {
    const auto pick = [&say](std::string_view russian, std::string_view english) {
        return say ? say(russian, english) : std::string(russian);
    };
    for (const auto& [english, russian] : kWriterReasons)
        if (reason == english) return pick(russian, english);
    const int error = SaveErrorNumber(reason);
    if (error != 0)
        for (const ErrorWords& w : kErrorWords)
            if (w.error == error) return pick(w.russian, w.english);
    return SystemPart(reason, error);
}

std::string WriteFailureReason() {
    const int error = errno;
    return error == 0 ? std::string("cannot write the file") : std::string("cannot write the file: ") + std::strerror(error);
}

std::string SaveReasonText(const std::string& reason, const WordTable* words) {
    return SaveReasonSaid(reason, [words](std::string_view russian, std::string_view english) {
        return std::string(Said(words, russian, english));
    });
}

std::string SaveFailedText(std::string_view head, const std::string& file, const std::string& reason,
                           const WordTable* words) {
    return std::string(head) + "\n\r" + file + ": " + SaveReasonText(reason, words);
}

}  // namespace pelmar
