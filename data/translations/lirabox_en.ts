<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>frmMain</name>
    <message>
        <source>既に起動しています。</source>
        <translation>Lirabox is already running.</translation>
    </message>
    <message>
        <source>エラーが発生しました。<byte value="xd"/>
ErrCode = </source>
        <translation>An error occurred.<byte value="xd"/>
ErrCode = </translation>
    </message>
    <message>
        <source>サウンドファイルの指定</source>
        <translation>Choose a sound file</translation>
    </message>
    <message>
        <source>音声ファイル(*.wav;*.mp3)</source>
        <translation>Sound files (*.wav;*.mp3)</translation>
    </message>
    <message>
        <source>WindowsMediaAudio(*.wma)</source>
        <translation>Windows Media Audio (*.wma)</translation>
    </message>
    <message>
        <source>全てのファイル(*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>その他の音声ファイル(*.m4a;*.aac;*.ogg;*.opus;*.flac)</source>
        <translation>Other sound files (*.m4a;*.aac;*.ogg;*.opus;*.flac)</translation>
    </message>
    <message>
        <source>Lirabox for Scribemark, version</source>
        <translation>Lirabox for Scribemark, version </translation>
    </message>
    <message>
        <source>ヘルプファイルがありません。</source>
        <translation>The help file is missing.</translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation>About Lirabox</translation>
    </message>
    <message>
        <source>ファイル</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>開く</source>
        <translation>Open...</translation>
    </message>
    <message>
        <source>再生</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>一時停止</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>早送り</source>
        <translation>Fast forward</translation>
    </message>
    <message>
        <source>巻き戻し</source>
        <translation>Rewind</translation>
    </message>
    <message>
        <source>再生速度アップ</source>
        <translation>Speed up</translation>
    </message>
    <message>
        <source>再生速度ダウン</source>
        <translation>Slow down</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>ヘルプ</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>目次</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>再生位置</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>音量</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>ファイルがありません</source>
        <translation>No file</translation>
    </message>
    <message>
        <source>↑ up </source>
        <translation>↑ up </translation>
    </message>
    <message>
        <source>↓down</source>
        <translation>↓down</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Speed</translation>
    </message>
    <message>
        <source>ショートカットキーを有効にする</source>
        <translation>Enable shortcut keys</translation>
    </message>
    <message>
        <source>常に手前に表示</source>
        <translation>Always on top</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>再生設定</source>
        <translation>Playback...</translation>
    </message>
    <message>
        <source>ショートカットキー設定</source>
        <translation>Shortcut keys...</translation>
    </message>
    <message>
        <source>表示</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>1行モード          Alt+Enter</source>
        <translation>One-line mode          Alt+Enter</translation>
    </message>
    <message>
        <source>1行モード</source>
        <translation>One-line mode</translation>
    </message>
    <message>
        <source>フルモード</source>
        <translation>Full mode</translation>
    </message>
    <message>
        <source>タイムスタンプ挿入</source>
        <translation>Insert time stamp</translation>
    </message>
    <message>
        <source>デスクトップが入力を許可しないため、タイムスタンプをクリップボードにコピーしました。入力先で Ctrl+V を押すと貼り付けられます。</source>
        <translation>The desktop does not let Lirabox type, so the time stamp was copied to the clipboard. Press Ctrl+V where you type to paste it.</translation>
    </message>
    <message>
        <source>このデスクトップでは、プログラムが自分のウィンドウを常に手前に表示することはできません。</source>
        <translation>This desktop does not let a program keep its own windows on top of the others.</translation>
    </message>
    <message>
        <source>常に手前に表示（このデスクトップでは使えません）</source>
        <translation>Always on top (not possible on this desktop)</translation>
    </message>
    <message>
        <source>Lirabox_help.html</source>
        <translation>Lirabox_help_en.html</translation>
    </message>
    <message>
        <source>ヘルプファイルを開けませんでした。</source>
        <translation>The help file could not be opened:</translation>
    </message>
    <message>
        <source>ファイルが存在しません。</source>
        <translation>The file does not exist.</translation>
    </message>
    <message>
        <source>Lirabox はこのファイルを読み込めません。</source>
        <translation>Lirabox cannot read this file.</translation>
    </message>
    <message>
        <source>Lirabox で再生できる録音ではありません。</source>
        <translation>This is not a recording Lirabox can play.</translation>
    </message>
    <message>
        <source>時間は hh:mm:ss、mm:ss、ss または hh:mm:ss.f の形で入力してください。</source>
        <translation>Enter the time as hh:mm:ss, mm:ss, ss or hh:mm:ss.f.</translation>
    </message>
    <message>
        <source>指定時間へ移動…</source>
        <translation>Go to time…</translation>
    </message>
    <message>
        <source>移動先の時間 (hh:mm:ss、mm:ss、ss):</source>
        <translation>Go to (hh:mm:ss, mm:ss or ss):</translation>
    </message>
</context>
<context>
    <name>frmMin</name>
    <message>
        <source>00:00:00 / 00:00:00    ファイルがありません</source>
        <translation>00:00:00 / 00:00:00    No file</translation>
    </message>
</context>
<context>
    <name>frmSettings</name>
    <message>
        <source>再生設定</source>
        <translation>Playback</translation>
    </message>
    <message>
        <source>ショートカットキー設定</source>
        <translation>Shortcut keys</translation>
    </message>
    <message>
        <source>常に手前に表示</source>
        <translation>Always on top</translation>
    </message>
    <message>
        <source>適用</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>再生時自動戻り秒数</source>
        <translation>Automatic rewind on play</translation>
    </message>
    <message>
        <source>一時停止後、自動で巻き戻しを行う秒数を指定してください。</source>
        <translation>Seconds to step back by itself each time playback starts after a pause.</translation>
    </message>
    <message>
        <source>巻き戻し秒数</source>
        <translation>Rewind step</translation>
    </message>
    <message>
        <source>1回の巻き戻し操作で戻る秒数です。</source>
        <translation>Seconds one rewind goes back.</translation>
    </message>
    <message>
        <source>早送り秒数</source>
        <translation>Fast-forward step</translation>
    </message>
    <message>
        <source>1回の早送り操作で進む秒数です。</source>
        <translation>Seconds one fast forward goes ahead.</translation>
    </message>
    <message>
        <source>秒</source>
        <translation>sec</translation>
    </message>
    <message>
        <source>＊テキストボックスを選んで，任意のキーを入力してください。</source>
        <translation>* Click a box and press the key you want.</translation>
    </message>
    <message>
        <source>＊重複したキー設定があります。</source>
        <translation>* The same key is set more than once.</translation>
    </message>
    <message>
        <source>キーの破棄</source>
        <translation>Discard key</translation>
    </message>
    <message>
        <source>おすすめのキーを入れる</source>
        <translation>Suggested keys</translation>
    </message>
    <message>
        <source>空いている行にファンクションキーを入れます（キーの破棄あり）。OK か適用で保存されます。</source>
        <translation>Puts function keys into the empty rows (discarded). OK or Apply saves them.</translation>
    </message>
    <message>
        <source>再生・一時停止</source>
        <translation>Play/Pause</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>速度アップ</source>
        <translation>Speed up</translation>
    </message>
    <message>
        <source>速度ダウン</source>
        <translation>Slow down</translation>
    </message>
    <message>
        <source>早送り</source>
        <translation>Fast forward</translation>
    </message>
    <message>
        <source>巻き戻し</source>
        <translation>Rewind</translation>
    </message>
    <message>
        <source>リピート開始位置</source>
        <translation>Repeat start</translation>
    </message>
    <message>
        <source>リピート終了位置</source>
        <translation>Repeat end</translation>
    </message>
    <message>
        <source>フットペダル</source>
        <translation>Foot pedals</translation>
    </message>
    <message>
        <source>フットペダル設定</source>
        <translation>Foot pedal settings</translation>
    </message>
    <message>
        <source>USB フットペダル（VEC Infinity）の各ペダルで行う操作です。
早送りと巻き戻しは踏んでいる間くり返します。</source>
        <translation>What each pedal of a USB foot pedal (VEC Infinity) does.
Fast-forward and rewind repeat while the pedal is held.</translation>
    </message>
    <message>
        <source>左ペダル</source>
        <translation>Left pedal</translation>
    </message>
    <message>
        <source>中央ペダル</source>
        <translation>Middle pedal</translation>
    </message>
    <message>
        <source>右ペダル</source>
        <translation>Right pedal</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>Nothing</translation>
    </message>
    <message>
        <source>踏んでいる間だけ再生</source>
        <translation>Play while held</translation>
    </message>
    <message>
        <source>再生</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>一時停止</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>タイムスタンプの形式</source>
        <translation>Time stamp format</translation>
    </message>
    <message>
        <source>タイムスタンプ挿入で入力される再生位置の形式です。
タイムスタンプのキーは単独で押してください。Shift などを押したままでは入力されません。</source>
        <translation>The form in which Insert time stamp types the position.
Press the time stamp key alone: with Shift or the like held too, nothing is typed.</translation>
    </message>
    <message>
        <source>音量を均一にする</source>
        <translation>Even out loudness</translation>
    </message>
    <message>
        <source>小さい声を大きく、大きい声を小さくして、話し手の音量をそろえます。</source>
        <translation>Raises quiet voices and lowers loud ones to one level.</translation>
    </message>
    <message>
        <source>タイムスタンプ挿入</source>
        <translation>Insert time stamp</translation>
    </message>
    <message>
        <source>キーの受け取り方：</source>
        <translation>How keys arrive: </translation>
    </message>
    <message>
        <source>X11 キーボード監視</source>
        <translation>X11 keyboard watcher</translation>
    </message>
    <message>
        <source>デスクトップのショートカット（ポータル）</source>
        <translation>desktop shortcuts (portal)</translation>
    </message>
    <message>
        <source>オフ：</source>
        <translation>off: </translation>
    </message>
    <message>
        <source>デスクトップのキー</source>
        <translation>Key the desktop gave</translation>
    </message>
    <message>
        <source>デスクトップのショートカットは、キーを入力中のプログラムに渡しません。そのため破棄は選べません。</source>
        <translation>Desktop shortcuts never reach the program you type in, so discarding cannot be chosen.</translation>
    </message>
    <message>
        <source>再開位置を記憶する</source>
        <translation>Resume where I left off</translation>
    </message>
    <message>
        <source>タイムスタンプへ移動</source>
        <translation>Jump to time stamp</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>the global shortcut keys are off</source>
        <translation>the global shortcut keys are off</translation>
    </message>
    <message>
        <source>there is no X display with XInput 2 to watch the keyboard on</source>
        <translation>there is no X display with XInput 2 to watch the keyboard on</translation>
    </message>
    <message>
        <source>Usage: lirabox [RECORDING[/t=SECONDS]]
Plays RECORDING (WAV, MP3 or WMA), from SECONDS when given.

</source>
        <translation>Usage: lirabox [RECORDING[/t=SECONDS]]
Plays RECORDING (WAV, MP3 or WMA), from SECONDS when given.

</translation>
    </message>
    <message>
        <source>  --verbose   log every step skipped after a failure, every sound engine
              error, every failed settings write and why no foot pedal is
              used (also on with QT_LOGGING_RULES=&quot;lirabox.info=true&quot;)
</source>
        <translation>  --verbose   log every step skipped after a failure, every sound engine
              error, every failed settings write and why no foot pedal is
              used (also on with QT_LOGGING_RULES=&quot;lirabox.info=true&quot;)
</translation>
    </message>
    <message>
        <source>  -h, --help  show this help and exit
  --version   show the version and exit
</source>
        <translation>  -h, --help  show this help and exit
  --version   show the version and exit
</translation>
    </message>
    <message>
        <source>Windows がキーボードフックの設定を拒否しました</source>
        <translation>Windows refused the keyboard hook</translation>
    </message>
    <message>
        <source>no running Lirabox took the command; start Lirabox first</source>
        <translation>no running Lirabox took the command; start Lirabox first</translation>
    </message>
    <message>
        <source>ファイル名が UTF-8 の文字列ではないので、送れません</source>
        <translation>the file name is not UTF-8 text, so it cannot be sent</translation>
    </message>
    <message>
        <source>the session bus cannot be reached</source>
        <translation>the session bus cannot be reached</translation>
    </message>
    <message>
        <source>unknown command</source>
        <translation>unknown command</translation>
    </message>
    <message>
        <source>the commands are play-pause, stop, faster, slower, forward, rewind, repeat-start, repeat-end, timestamp, goto-selection, open FILE and goto SECONDS</source>
        <translation>the commands are play-pause, stop, faster, slower, forward, rewind, repeat-start, repeat-end, timestamp, goto-selection, open FILE and goto SECONDS</translation>
    </message>
    <message>
        <source>open needs the recording&apos;s full path</source>
        <translation>open needs the recording&apos;s full path</translation>
    </message>
    <message>
        <source>goto needs a number of seconds, 0 or more</source>
        <translation>goto needs a number of seconds, 0 or more</translation>
    </message>
    <message>
        <source>too many words after the command</source>
        <translation>too many words after the command</translation>
    </message>
    <message>
        <source>  --command NAME [ARGUMENT]
              hand a command to the Lirabox that runs, and exit: play-pause,
              stop, faster, slower, forward, rewind, repeat-start,
              repeat-end, timestamp, goto-selection, open FILE,
              goto SECONDS
</source>
        <translation>  --command NAME [ARGUMENT]
              hand a command to the Lirabox that runs, and exit: play-pause,
              stop, faster, slower, forward, rewind, repeat-start,
              repeat-end, timestamp, goto-selection, open FILE,
              goto SECONDS
</translation>
    </message>
    <message>
        <source>there is no session bus to reach the desktop&apos;s shortcut portal on</source>
        <translation>there is no session bus to reach the desktop&apos;s shortcut portal on</translation>
    </message>
    <message>
        <source>the desktop offers no shortcut portal</source>
        <translation>the desktop offers no shortcut portal</translation>
    </message>
    <message>
        <source>the desktop did not bind the shortcuts</source>
        <translation>the desktop did not bind the shortcuts</translation>
    </message>
</context>
</TS>
