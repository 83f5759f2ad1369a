#include "app/way_back_messages.hpp"

#include <string>

namespace corvella {
namespace {

// Why a save failed; empty when the way back holds or nothing would move.
std::string_view SaveFailureReason(SaveOutcome outcome) {
  switch (outcome) {
    case SaveOutcome::Saved:
    case SaveOutcome::KeptEarlier:
    case SaveOutcome::NoDesktopView:
      return {};
    case SaveOutcome::Unreadable:
      return "前に保存した配置のファイルを読み込めません。そのファイルは置き換えずに残します。";
    case SaveOutcome::ReadFailed:
      return "デスクトップのアイコンを読み取れませんでした。デスクトップが応答していないかもしれません。";
    case SaveOutcome::WriteFailed:
      return "配置のファイルを書き込めませんでした。"
             "フォルダーに書き込めないか、フォルダーと同じ名前のファイルがあります。";
    case SaveOutcome::DiskFull:
      return "ディスクの空き領域が足りないため、配置のファイルを書き込めませんでした。";
  }
  return {};
}

std::string_view OutcomeReport(RestoreOutcome outcome) {
  switch (outcome) {
    case RestoreOutcome::Restored:
      return {};
    case RestoreOutcome::RestoredFileKept:
      return "元の配置に戻しましたが、保存したファイルを layout-restored.tsv にできませんでした。"
             "次に並べるときも、同じ配置を残します。";
    case RestoreOutcome::NothingSaved:
      return "保存された配置がありません。Corvella は、ハート型か平行四辺形型に並べる前にアイコンの配置を保存します。";
    case RestoreOutcome::Unreadable:
      return "保存された配置のファイル (%LOCALAPPDATA%\\Corvella\\layout.tsv) を読み込めませんでした。"
             "アイコンは動かしていません。";
    case RestoreOutcome::Damaged:
      return "保存された配置のファイル (%LOCALAPPDATA%\\Corvella\\layout.tsv) が壊れているか、書き換えられています。"
             "アイコンは動かしていません。このファイルを削除すると、次に並べるときに新しく保存します。";
    case RestoreOutcome::NoDesktopView:
      return "デスクトップのアイコン表示が見つかりませんでした。アイコンは動かしていません。";
    case RestoreOutcome::ReadFailed:
      return "デスクトップのアイコンを読み取れませんでした。アイコンは動かしていません。";
    case RestoreOutcome::MoveFailed:
      return "一部のアイコンを元に戻せませんでした。保存した配置は残してあるので、もう一度試せます。";
    case RestoreOutcome::NothingMatched:
      return "保存された配置のアイコンは、どれもデスクトップにありません。アイコンは動かしていません。"
             "保存した配置は、そのまま残してあります。";
    case RestoreOutcome::ViewArrangesItself:
      return "デスクトップのアイコンは、まだ自動で並ぶ設定です。このままでは、戻したアイコンがすぐに並べ直されるため、"
             "アイコンは動かしていません。保存した配置は、そのまま残してあります。\n\n"
             "デスクトップを右クリック → 表示 → 「アイコンの自動整列」のチェックを外してから、もう一度戻してください。";
  }
  return {};
}

}  // namespace

std::string RestoreMenuCaption(const SavedLayoutSummary& summary) {
  std::string caption = "元の配置に戻す";
  if (summary.saved_at) caption += "\t" + *summary.saved_at;
  return caption;
}

std::string SaveFailureQuestion(SaveOutcome outcome, std::string_view location) {
  const std::string_view why = SaveFailureReason(outcome);
  if (why.empty()) return {};
  return "配置を保存できませんでした。" + std::string(why) + "\n\n保存先: " + std::string(location) +
         "\n\nこのまま並べると、元の配置に戻せません。それでも並べますか。";
}

std::string RestoreReport(const RestoreResult& result) {
  std::string report;
  const bool back = result.outcome == RestoreOutcome::Restored || result.outcome == RestoreOutcome::RestoredFileKept;
  if (back && result.skipped > 0) {
    report = std::to_string(result.moved) + " 個のアイコンを元の配置に戻しました。" + std::to_string(result.skipped) +
             " 個は、もうデスクトップにありません。";
  }
  if (back && result.moved_to_fit > 0) {
    report += std::to_string(result.moved_to_fit) + " 個のアイコンは、今の画面に収まるように位置を変えて戻しました。";
  }
  if ((back || result.outcome == RestoreOutcome::NothingMatched) && result.unnamed > 0) {
    report += std::to_string(result.unnamed) +
              " 個のアイコンは、名前がないか長すぎて見分けられないため、配置を保存できず、元に戻せませんでした。";
  }
  const std::string_view outcome = OutcomeReport(result.outcome);
  if (!report.empty() && !outcome.empty()) report += "\n\n";
  report += outcome;
  return report;
}

std::string RestoreFaultReport(std::string_view fault, bool layout_kept) {
  std::string report = "元の配置に戻す途中で、次の障害が起きました。\n\n" + std::string(fault);
  if (layout_kept) report += "\n\n保存した配置は残してあるので、もう一度試せます。";
  return report;
}

std::string ArrangementCutShortReport(std::size_t moved, std::int32_t count, bool layout_saved) {
  if (moved == 0) {
    return "デスクトップが途中で応答しなくなりました。アイコンは動かしていません。"
           "少し待ってから、もう一度試してください。";
  }
  std::string report = "デスクトップが途中で応答しなくなったため、" + std::to_string(count) + " 個のうち " +
                       std::to_string(moved) + " 個のアイコンだけを動かしました。";
  if (layout_saved) report += "\n\n「元の配置に戻す」(Ctrl+Z) で、並べる前の配置に戻せます。";
  return report;
}

int RestoreExitCode(RestoreOutcome outcome) {
  switch (outcome) {
    case RestoreOutcome::Restored:
    case RestoreOutcome::RestoredFileKept:
      return 0;
    case RestoreOutcome::NothingSaved:
      return 2;
    case RestoreOutcome::Unreadable:
      return 3;
    case RestoreOutcome::Damaged:
      return 4;
    case RestoreOutcome::NoDesktopView:
      return 5;
    case RestoreOutcome::ReadFailed:
      return 6;
    case RestoreOutcome::MoveFailed:
      return 7;
    case RestoreOutcome::NothingMatched:
      return 8;
    case RestoreOutcome::ViewArrangesItself:
      return 9;
  }
  return 1;
}

}  // namespace corvella
