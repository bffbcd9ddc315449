#pragma once

namespace cadhost {

// Error texts of the host's automation objects, as the default error
// report shows them.
inline constexpr const char16_t *kUnknownName = u"不明な名前です。";
inline constexpr const char16_t *kOnLockedLayer = u"オブジェクトはロックされた画層上にあります。";
inline constexpr const char16_t *kWasErased = u"オブジェクトは削除されています。";
inline constexpr const char16_t *kNotApplicable = u"この操作はこのオブジェクトには適用できません。";
inline constexpr const char16_t *kInvalidInput = u"入力が無効です。";
inline constexpr const char16_t *kDuplicateName = u"同じ名前のレコードが既にあります。";
inline constexpr const char16_t *kKeyNotFound = u"キーが見つかりません。";
inline constexpr const char16_t *kIndexOutOfRange = u"インデックスが範囲外です。";
inline constexpr const char16_t *kPickCancelled = u"ユーザーが入力をキャンセルしました。";
inline constexpr const char16_t *kServerUnavailable = u"RPC サーバーを利用できません。";
inline constexpr const char16_t *kCallRejected = u"呼び出し先が呼び出しを拒否しました。";
inline constexpr const char16_t *kInjectedFault = u"呼び出しが失敗しました。";

}  // namespace cadhost
