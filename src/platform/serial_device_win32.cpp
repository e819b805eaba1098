#include <windows.h>

#include <algorithm>
#include <array>
#include <string>

#include "platform/serial_device.h"

namespace vantrel::platform {
namespace {

// A device without modem-control lines (Wine's ports on a pseudo-terminal, some USB adapters)
// is still a port.
bool EscapeTolerated(HANDLE h, DWORD function) {
  return ::EscapeCommFunction(h, function) || ::GetLastError() == ERROR_NOT_SUPPORTED;
}

// What a port handle's transfers fail with once its device has gone (a USB adapter pulled out).
bool DeviceGone(DWORD error) {
  return error == ERROR_BAD_COMMAND || error == ERROR_DEVICE_REMOVED ||
         error == ERROR_OPERATION_ABORTED || error == ERROR_ACCESS_DENIED ||
         error == ERROR_GEN_FAILURE;
}

// The line settings in a control block read from the port: raw bytes, no hardware flow control,
// DTR and RTS on, no error replacement. What the settings do not name (XonLim, XoffLim, the
// reserved members) keeps what the driver gave.
void FillDcb(DCB& dcb, const LineSettings& s) {
  dcb.BaudRate = s.baudRate;
  dcb.ByteSize = s.byteSize;
  dcb.Parity = s.parity;
  dcb.StopBits = s.stopBits;
  dcb.XonChar = static_cast<char>(s.xonChar);
  dcb.XoffChar = static_cast<char>(s.xoffChar);
  dcb.ErrorChar = 0x3F;
  dcb.EofChar = 0;
  dcb.EvtChar = 0;
  dcb.fBinary = 1;
  dcb.fParity = s.parity != 0 ? 1 : 0;
  dcb.fOutxCtsFlow = 0;
  dcb.fOutxDsrFlow = 0;
  dcb.fDtrControl = DTR_CONTROL_ENABLE;
  dcb.fDsrSensitivity = 0;
  dcb.fTXContinueOnXoff = 1;
  dcb.fOutX = s.outX ? 1 : 0;
  dcb.fInX = s.inX ? 1 : 0;
  dcb.fErrorChar = 0;
  dcb.fNull = 0;
  dcb.fRtsControl = RTS_CONTROL_ENABLE;
  dcb.fAbortOnError = 0;
}

class Win32SerialDevice final : public SerialDevice {
 public:
  ~Win32SerialDevice() override { Close(); }

  bool Open(std::string_view portName) override {
    if (handle_ != INVALID_HANDLE_VALUE) return false;
    pendingCount_ = 0;
    lost_ = false;
    // No sharing: a port in use by another program does not open.
    handle_ = ::CreateFileA(ResolvePortName(portName).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    return handle_ != INVALID_HANDLE_VALUE;
  }

  bool IsOpen() const override { return handle_ != INVALID_HANDLE_VALUE; }

  bool Configure(const LineSettings& settings) override {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!IsOpen() || !::GetCommState(handle_, &dcb)) return false;
    FillDcb(dcb, settings);
    return ::SetCommState(handle_, &dcb);
  }

  bool SetWriteTimeout(std::uint32_t multiplierMs, std::uint32_t constantMs) override {
    writeMultiplierMs_ = multiplierMs;
    writeConstantMs_ = constantMs;
    return IsOpen() && ApplyTimeouts(0);
  }

  bool SetDtr(bool on) override {
    return IsOpen() && EscapeTolerated(handle_, on ? SETDTR : CLRDTR);
  }
  bool SetRts(bool on) override {
    return IsOpen() && EscapeTolerated(handle_, on ? SETRTS : CLRRTS);
  }

  std::size_t Write(std::span<const std::uint8_t> bytes) override {
    DWORD written = 0;
    if (!IsOpen() || bytes.empty()) return 0;
    const DWORD n = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), MAXDWORD));
    if (!::WriteFile(handle_, bytes.data(), n, &written, nullptr)) {
      NoteFailure();
      return 0;
    }
    return written;
  }

  std::size_t Read(std::span<std::uint8_t> buffer) override {
    if (!IsOpen() || buffer.empty()) return 0;
    std::size_t done = 0;
    if (pendingCount_ > 0) {
      done = std::min<std::size_t>(pendingCount_, buffer.size());
      std::copy_n(pending_.begin(), done, buffer.begin());
      std::copy(pending_.begin() + static_cast<std::ptrdiff_t>(done),
                pending_.begin() + static_cast<std::ptrdiff_t>(pendingCount_), pending_.begin());
      pendingCount_ -= done;
      if (done == buffer.size()) return done;
    }
    DWORD n = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(buffer.size() - done, MAXDWORD));
    if (!::ReadFile(handle_, buffer.data() + done, want, &n, nullptr)) {
      NoteFailure();
      n = 0;
    }
    return done + n;
  }

  bool WaitForInput(std::uint32_t timeoutMs) override {
    if (!IsOpen() || lost_) return false;
    if (pendingCount_ > 0) return true;
    // A read whose interval and multiplier are MAXDWORD returns as soon as one byte is there,
    // or after the constant: a bounded wait without polling. The byte is kept for Read.
    const DWORD limit = std::clamp<DWORD>(timeoutMs, 1, MAXDWORD - 1);
    if (!ApplyTimeouts(limit)) {
      NoteFailure();
      return false;
    }
    DWORD n = 0;
    const bool ok = ::ReadFile(handle_, pending_.data(), 1, &n, nullptr);
    if (!ok) NoteFailure();
    ApplyTimeouts(0);
    pendingCount_ = ok ? n : 0;
    return pendingCount_ > 0;
  }

  std::optional<std::size_t> BytesWaiting() const override {
    if (!IsOpen()) return std::nullopt;
    COMSTAT stat{};
    DWORD errors = 0;
    if (!::ClearCommError(handle_, &errors, &stat)) return std::nullopt;
    return pendingCount_ + stat.cbInQue;
  }

  bool LineLost() const override { return lost_; }

  void Close() override {
    if (handle_ == INVALID_HANDLE_VALUE) return;
    ::CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    pendingCount_ = 0;
  }

  bool Exists(std::string_view portName) const override {
    // The configuration is only asked for: opening would raise DTR and RTS.
    std::array<std::uint8_t, 2000> config{};
    DWORD size = config.size();
    const std::string name(portName);
    return ::GetDefaultCommConfigA(name.c_str(), reinterpret_cast<COMMCONFIG*>(config.data()),
                                   &size) != 0;
  }

 private:
  // readWaitMs 0: reads return at once with whatever is there; otherwise they wait that long
  // for the first byte.
  bool ApplyTimeouts(DWORD readWaitMs) {
    COMMTIMEOUTS t{};
    t.ReadIntervalTimeout = MAXDWORD;
    t.ReadTotalTimeoutMultiplier = readWaitMs == 0 ? 0 : MAXDWORD;
    t.ReadTotalTimeoutConstant = readWaitMs;
    t.WriteTotalTimeoutMultiplier = writeMultiplierMs_;
    t.WriteTotalTimeoutConstant = writeConstantMs_;
    return ::SetCommTimeouts(handle_, &t);
  }

  void NoteFailure() {
    if (DeviceGone(::GetLastError())) lost_ = true;
  }

  HANDLE handle_ = INVALID_HANDLE_VALUE;
  bool lost_ = false;
  DWORD writeMultiplierMs_ = 0;
  DWORD writeConstantMs_ = 500;
  std::array<std::uint8_t, 1> pending_{};
  std::size_t pendingCount_ = 0;
};

}  // namespace

std::unique_ptr<SerialDevice> MakeSystemSerialDevice() {
  return std::make_unique<Win32SerialDevice>();
}

std::string_view PortNameHelp() {
  return "COM1 to COM99 (COM12 and \\\\.\\COM12 are the same)";
}

std::string ResolvePortName(std::string_view portName) {
  // COM10 and above exist only in the device namespace; the prefix works for COM1 to COM9 too.
  if (portName.empty() || portName.starts_with("\\\\.\\")) return std::string(portName);
  return "\\\\.\\" + std::string(portName);
}

std::string NeverAPort(std::string_view) {
  // A COM port may be plugged in at any time under any name.
  return {};
}

}  // namespace vantrel::platform
