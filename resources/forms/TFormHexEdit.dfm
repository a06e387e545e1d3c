object FormHexEdit: TFormHexEdit
  Left = 0
  Top = 0
  Caption = 'Hex Editor'
  ClientWidth = 620
  ClientHeight = 420
  Position = poScreenCenter
  KeyPreview = False
  Menu = MainMenu1
  OnClose = FormClose
  object HexEditor: THexEditor
    Align = alClient
    Color = clWhite
    ColorChange = clRed
    ColorCursor = clBlue
    Font.Name = 'Courier New'
    Font.Height = -13
    CursorPanel = 0
    ScrollBar = HexScrollBar
    TabOrder = 0
    OnCursorChange = HexEditorCursorChange
    OnCursorByteChange = HexEditorCursorByteChange
    OnDirtyChange = HexEditorDirtyChange
    OnFileNameChange = HexEditorFileNameChange
    OnChangeLogUpdate = HexEditorChangeLogUpdate
  end
  object HexScrollBar: TScrollBar
    Align = alRight
    Width = 17
    Kind = sbVertical
    TabStop = False
  end
  object StatusLine: TPanel
    Align = alBottom
    Height = 19
    Alignment = taLeftJustify
    BevelOuter = bvLowered
    Caption = ''
  end
  object MainMenu1: TMainMenu
    object MenuFile: TMenuItem
      Caption = '&File'
      object MenuFileOpen: TMenuItem
        Caption = '&Open...'
        ShortCut = 'Ctrl+O'
        OnClick = MenuFileOpenClick
      end
      object MenuFileSave: TMenuItem
        Caption = '&Save'
        ShortCut = 'Ctrl+S'
        OnClick = MenuFileSaveClick
      end
      object MenuFileSaveAs: TMenuItem
        Caption = 'Save &As...'
        OnClick = MenuFileSaveAsClick
      end
      object MenuFileClose: TMenuItem
        Caption = '&Close'
        OnClick = MenuFileCloseClick
      end
      object MenuFileLine: TMenuItem
        Caption = '-'
      end
      object MenuFileExit: TMenuItem
        Caption = 'E&xit'
        OnClick = MenuFileExitClick
      end
    end
    object MenuEdit: TMenuItem
      Caption = '&Edit'
      object MenuEditUndo: TMenuItem
        Caption = '&Undo'
        ShortCut = 'Ctrl+Z'
        OnClick = MenuEditUndoClick
      end
      object MenuEditRedo: TMenuItem
        Caption = '&Redo'
        ShortCut = 'Ctrl+Y'
        OnClick = MenuEditRedoClick
      end
      object MenuEditLine1: TMenuItem
        Caption = '-'
      end
      object MenuEditGoto: TMenuItem
        Caption = '&Go to offset...'
        ShortCut = 'Ctrl+G'
        OnClick = MenuEditGotoClick
      end
      object MenuEditSwitchPanel: TMenuItem
        Caption = '&Switch panel'
        ShortCut = 'Tab'
        OnClick = MenuEditSwitchPanelClick
      end
      object MenuEditLine2: TMenuItem
        Caption = '-'
      end
      object MenuEditReadOnly: TMenuItem
        Caption = 'Read-&only'
        OnClick = MenuEditReadOnlyClick
      end
    end
    object MenuSearch: TMenuItem
      Caption = '&Search'
      object MenuSearchFind: TMenuItem
        Caption = '&Find...'
        ShortCut = 'Ctrl+F'
        OnClick = MenuSearchFindClick
      end
      object MenuSearchFindNext: TMenuItem
        Caption = 'Find &Next'
        ShortCut = 'F3'
        OnClick = MenuSearchFindNextClick
      end
    end
    object MenuView: TMenuItem
      Caption = '&View'
      object MenuViewHexValues: TMenuItem
        Caption = '&Hexadecimal values'
        OnClick = MenuViewValuesClick
      end
      object MenuViewDecimalValues: TMenuItem
        Caption = '&Decimal values'
        OnClick = MenuViewValuesClick
      end
      object MenuViewLine1: TMenuItem
        Caption = '-'
      end
      object MenuViewHexOffsets: TMenuItem
        Caption = 'Hexadecimal &offsets'
        OnClick = MenuViewOffsetsClick
      end
      object MenuViewDecimalOffsets: TMenuItem
        Caption = 'Decimal o&ffsets'
        OnClick = MenuViewOffsetsClick
      end
      object MenuViewLine2: TMenuItem
        Caption = '-'
      end
      object MenuViewBytesPerLine: TMenuItem
        Caption = 'Bytes per &line'
        object MenuViewLine8: TMenuItem
          Caption = '&8'
          OnClick = MenuViewBytesPerLineClick
        end
        object MenuViewLine16: TMenuItem
          Caption = '&16'
            OnClick = MenuViewBytesPerLineClick
        end
        object MenuViewLine32: TMenuItem
          Caption = '&32'
          OnClick = MenuViewBytesPerLineClick
        end
      end
      object MenuViewBytesPerGroup: TMenuItem
        Caption = 'Bytes per &group'
        object MenuViewGroup1: TMenuItem
          Caption = '&1'
            OnClick = MenuViewBytesPerGroupClick
        end
        object MenuViewGroup2: TMenuItem
          Caption = '&2'
          OnClick = MenuViewBytesPerGroupClick
        end
        object MenuViewGroup4: TMenuItem
          Caption = '&4'
          OnClick = MenuViewBytesPerGroupClick
        end
      end
      object MenuViewLine3: TMenuItem
        Caption = '-'
      end
      object MenuViewPolkaDots: TMenuItem
        Caption = '&Polka dots'
        OnClick = MenuViewPolkaDotsClick
      end
      object MenuViewSteadyCursor: TMenuItem
        Caption = '&Steady cursor'
        OnClick = MenuViewSteadyCursorClick
      end
      object MenuViewLine4: TMenuItem
        Caption = '-'
      end
      object MenuViewChangeLog: TMenuItem
        Caption = '&Change log'
        OnClick = MenuViewChangeLogClick
      end
    end
    object MenuHelp: TMenuItem
      Caption = '&Help'
      object MenuHelpAbout: TMenuItem
        Caption = '&About Hex Editor'
        OnClick = MenuHelpAboutClick
      end
    end
  end
  object TimerBlink: TTimer
    Interval = 250
    OnTimer = TimerBlinkTimer
  end
end
