#include "scanner/scanner_capture.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/atomic_file.h"
#include "base/encoding.h"
#include "formats/mfd_file.h"
#include "resources/strings.h"
#include "ui/connect_watch.h"

namespace taloven {
namespace {

const std::string& Attention() {
  static const std::string caption = W("Atenção");
  return caption;
}

}  // namespace

ScannerCapture::~ScannerCapture() {
  StopReader();
}

bool ScannerCapture::Start(const ScannerSettings& settings,
                           const std::function<bool()>& cancelled) {
  if (IsCapturing()) return true;
  portName_ = settings.portName;
  const ScannerLine line = LineFor(settings);
  ConnectWatch watch(ui_);
  const auto open = [&] {
    const Status opened = port_.Open(
        portName_, line, cancelled ? cancelled : [&watch] { return watch.Cancelled(); });
    watch.Close();
    return opened;
  };
  for (Status opened = open(); !opened.ok(); opened = open()) {
    if (port_.Cancelled()) return false;
    ui_.Message(opened.message(), "Erro na porta " + portName_, MessageButtons::Ok,
                MessageIcon::Exclamation);
    const MessageAnswer again = ui_.Message(
        W("Porta serial ") + portName_ + W(" pode não ter\nsido corretamente inicializada."),
        Attention(), MessageButtons::RetryCancel, MessageIcon::Exclamation);
    if (again != MessageAnswer::Retry) return false;
  }
  {
    std::lock_guard<std::mutex> hold(lock_);
    state_.Clear();
  }
  buffer_.clear();
  overflowed_ = false;
  stopping_ = false;
  if (pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) {
    ui_.Message(std::strerror(errno), "Erro na porta " + portName_, MessageButtons::Ok,
                MessageIcon::Exclamation);
    wake_[0] = wake_[1] = -1;
    ClosePort();
    return false;
  }
  reader_ = std::thread(&ScannerCapture::Read, this);
  return true;
}

StopResult ScannerCapture::Stop(const std::optional<StopAnswers>& answers) {
  StopResult result;
  bool known = false;
  uint32_t count = 0, read = 0;
  {
    std::lock_guard<std::mutex> hold(lock_);
    known = state_.SetKnown();
    count = state_.SetSize();
    read = state_.ReadCount();
  }
  if (!known) {
    result.why = W("nenhum símbolo foi lido");
    ClosePort();
    return result;
  }
  if (read < count) {
    MessageAnswer answer = MessageAnswer::No;
    if (answers) {
      answer = answers->savePartial ? MessageAnswer::Yes : MessageAnswer::No;
    } else {
      answer =
          ui_.Message(PartialSymbolSetWarning() +
                          W("* clique \"Não\" para interromper a captura sem salvar; ou\n* clique "
                            "\"Cancelar\" para voltar à captura dos símbolos restantes"),
                      Attention(), MessageButtons::YesNoCancel, MessageIcon::Question);
    }
    if (answer == MessageAnswer::Cancel) {
      result.backToCapture = true;
      return result;
    }
    if (answer != MessageAnswer::Yes) {
      char why[96];
      std::snprintf(why, sizeof why, "%u de %u", read, count);
      result.why = W("captura incompleta (") + why + W(" símbolos) não foi salva");
      ClosePort();
      return result;
    }
  }
  // The capture ends here: what the file holds is what the window shows,
  // not one more symbol taken while the user names the file.
  StopReader();
  const std::optional<std::string> path =
      answers ? std::optional<std::string>(answers->path)
              : ui_.SaveFileName(
                    "", "mfd",
                    {{"Arquivos de MFD (*.mfd)", "*.mfd"}, {"Todos os Arquivos (*.*)", "*.*"}});
  if (!path) {
    result.why = W("nenhum arquivo foi escolhido");
    ClosePort();
    return result;
  }
  std::string payload;
  {
    std::lock_guard<std::mutex> hold(lock_);
    payload = state_.Payload();
    read = state_.ReadCount();
  }
  const Status written = WriteFileAtomically(*path, MfdFileBytes(kMfdCaptureSource, payload));
  if (!written.ok()) {
    ui_.Message(written.message() + "\nArquivo: " + *path, "Erro", MessageButtons::Ok,
                MessageIcon::Error);
    result.why = written.message() + W(": ") + *path;
    ClosePort();
    return result;
  }
  char done[512];
  std::snprintf(done, sizeof done,
                "FORAM DECODIFICADOS (%u) S\xCDMBOLOS PDF-417.\n\nArquivo %s criado com "
                "sucesso.\nUtilize a gera\xE7\xE3o de documento RTF ou banco de dados para\nobter "
                "as informa\xE7\xF5"
                "es da mesma forma como para download.",
                read, path->c_str());
  ui_.Message(done, W("Concluído"), MessageButtons::Ok, MessageIcon::Information);
  result.saved = true;
  result.path = *path;
  ClosePort();
  return result;
}

void ScannerCapture::ClosePort() {
  StopReader();
  for (Status closed = port_.Close(); !closed.ok(); closed = port_.Close()) {
    ui_.Message(closed.message(), "Erro na porta " + portName_, MessageButtons::Ok,
                MessageIcon::Exclamation);
    const MessageAnswer again =
        ui_.Message(W("Porta serial ") + portName_ +
                        W(" pode não ter\nsido corretamente liberada para o sistema."),
                    Attention(), MessageButtons::RetryCancel, MessageIcon::Exclamation);
    if (again != MessageAnswer::Retry) break;
  }
}

CaptureDisplay ScannerCapture::Display() const {
  std::lock_guard<std::mutex> hold(lock_);
  return state_.Display();
}

uint32_t ScannerCapture::ReadCount() const {
  std::lock_guard<std::mutex> hold(lock_);
  return state_.ReadCount();
}

void ScannerCapture::StopReader() {
  if (reader_.joinable()) {
    stopping_ = true;
    const char wake = 1;
    // Only a full pipe refuses the byte, and a full pipe wakes the reader too.
    const ssize_t wrote = ::write(wake_[1], &wake, 1);
    static_cast<void>(wrote);
    reader_.join();
  }
  for (int& end : wake_) {
    if (end >= 0) ::close(end);
    end = -1;
  }
}

}  // namespace taloven
