#pragma once

// Texts the user sees. Sources are UTF-8; the compiler stores them as CP932 bytes for the
// narrow Windows interfaces (-fexec-charset=CP932).
#define ZOVA_TEXT_WINDOW_FAILED "ウィンドウが作成できません"
#define ZOVA_CAPTION_INIT_ERROR "初期化エラー"
#define ZOVA_TEXT_MPR_MISSING "MPR.DLLが見つかりません"
#define ZOVA_CAPTION_MPR_MISSING "VASK"
#define ZOVA_TEXT_PASSWORD_FAILED "パスワードを確認できません"
#define ZOVA_CAPTION_PASSWORD_FAILED "設定値取得エラー"
#define ZOVA_TEXT_REGISTRY_FAILED "レジストリへ登録できません"
#define ZOVA_CAPTION_REGISTRY_FAILED "設定値登録エラー"

// Window class of the saver window; also how a second start finds a running full-screen saver.
#define ZOVA_WINDOW_CLASS "ZOVA.kvr"
