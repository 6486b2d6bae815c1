#include "core/message_translation.h"

#include "core/host_texts.h"
#include "core/translator_input.h"
#include "platform/file_io.h"
#include "platform/file_system.h"

#include <cerrno>
#include <deque>

namespace tarnwick::host {
namespace {

// A file in the system's temporary folder holding the given bytes, removed with the object.
class TemporaryFile {
public:
  explicit TemporaryFile(const std::string& bytes) {
    const std::string prefix = platform::TemporaryFolder() + "/tarnwick-host-";
    platform::File file = platform::CreateUniqueFile(prefix, path_);
    if (!file.IsOpen()) {
      errorText_ = CannotWriteText(prefix, errno);
      path_.clear();
      return;
    }
    if (!file.WriteAll(bytes)) errorText_ = CannotWriteText(path_, errno);
  }
  ~TemporaryFile() {
    if (!path_.empty()) platform::RemoveFile(path_);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool Ok() const { return errorText_.empty(); }
  const std::string& ErrorText() const { return errorText_; }
  std::string& Path() { return path_; }

private:
  std::string path_;
  std::string errorText_;
};

// The host's own records of one message for a translator; they point into this object's texts,
// which the host owns (the plug-in frees only what it hands out itself).
class TranslatorRecords {
public:
  TranslatorRecords(TranslatorInput input, std::string& inputPath) : input_(std::move(input)) {
    header_ = {sizeof(EmsHeaderData), input_.to.data(),  input_.from.data(),      input_.subject.data(),
               input_.cc.data(),      input_.bcc.data(), input_.rawHeaders.data()};
    EmsMimeParam* next = nullptr;
    // Built back to front so that the chain keeps the order of the Content-Type line.
    for (auto parameter = input_.mimeType.parameters.rbegin(); parameter != input_.mimeType.parameters.rend();
         ++parameter) {
      parameters_.push_front({next, parameter->first.data(), parameter->second.data()});
      next = &parameters_.front();
    }
    mimeType_ = {sizeof(EmsMimeType),
                 version_.data(),
                 input_.mimeType.type.data(),
                 input_.mimeType.subtype.data(),
                 next,
                 nullptr,
                 nullptr};
    file_ = {sizeof(EmsDataFile), kTranslateOnRequestContext, &mimeType_, inputPath.data(), &header_};
  }
  TranslatorRecords(const TranslatorRecords&) = delete;
  TranslatorRecords& operator=(const TranslatorRecords&) = delete;

  EmsDataFile* File() { return &file_; }

private:
  TranslatorInput input_;
  std::string version_;
  std::deque<EmsMimeParam> parameters_;  // a deque keeps the nodes where they are as it grows
  EmsHeaderData header_{};
  EmsMimeType mimeType_{};
  EmsDataFile file_{};
};

}  // namespace

TranslationOutcome TranslateMessage(MailStore& store, int32_t mailboxId, uint32_t messageId, const LoadedPlugin& plugin,
                                    int32_t translatorId) {
  if (plugin.canTranslate == nullptr || plugin.translateFile == nullptr) return {-1, false, kNoTranslatorText};
  std::string stored;
  StoreStatus status = store.ReadMessage(mailboxId, messageId, stored);
  if (!status.ok) return {-1, false, status.errorText};

  TranslatorInput input = TranslatorInputOf(stored);
  TemporaryFile inputFile(input.fileText);
  TemporaryFile outputFile("");
  if (!inputFile.Ok()) return {-1, false, inputFile.ErrorText()};
  if (!outputFile.Ok()) return {-1, false, outputFile.ErrorText()};
  TranslatorRecords records(std::move(input), inputFile.Path());
  EmsTranslator translator{sizeof(EmsTranslator), translatorId, 0, 0, nullptr, nullptr};

  const int32_t answer = plugin.canTranslate(nullptr, &translator, records.File(), nullptr);
  if (answer != platform::kEmsCanTranslateNow) return {answer, false, {}};
  EmsDataFile output{sizeof(EmsDataFile), kTranslateOnRequestContext, nullptr, outputFile.Path().data(), nullptr};
  const int32_t result = plugin.translateFile(nullptr, &translator, records.File(), nullptr, &output, nullptr);
  if (output.info != nullptr && plugin.release != nullptr) plugin.release(output.info);
  if (result != platform::kEmsSuccess) return {result, false, {}};

  std::string outputText;
  if (!platform::ReadFileIfPresent(outputFile.Path(), outputText)) outputText.clear();
  std::string message = MessageFromTranslation(stored, outputText);
  if (message.empty()) return {result, false, kEmptyTranslationText};
  status = store.ReplaceMessage(mailboxId, messageId, message);
  return {result, status.ok, status.errorText};
}

}  // namespace tarnwick::host
