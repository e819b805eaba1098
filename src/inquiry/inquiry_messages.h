#pragma once

namespace vantrel {

// The inquiry sequence's own texts; the blanks around them are part of what the user sees.
inline constexpr const char* kInquiryCommFailed = " ＣＰＵとの通信が失敗しました ";
inline constexpr const char* kInquiryNewBaudFailed = " 新ボーレートに設定できませんでした ";
inline constexpr const char* kInquiryDeviceMismatch = " DeviceName が一致しません ";
inline constexpr const char* kInquiryClockModeMismatch = " ClockMode が一致しません ";
inline constexpr const char* kInquiryErrorResponse = "Error Response ";
inline constexpr const char* kInquiryAnswerTimeUp = "Ans TimeUp";

}  // namespace vantrel
