object FormNixieStart: TFormNixieStart
  Left = 0
  Top = 0
  BorderStyle = bsNone
  Caption = 'Start'
  ClientWidth = 218
  ClientHeight = 58
  Color = clBlack
  object PanelStartup: TPanel
    Left = 0
    Top = 0
    Width = 217
    Height = 57
    Color = clBlack
    object LabelTitle: TLabel
      Left = 64
      Top = 8
      Caption = 'Velmora''s Nixie Clock'
      Font.Color = clWhite
    end
    object LabelLink: TLabel
      Left = 56
      Top = 22
      Caption = 'www.velmora.example'
      Cursor = crHandPoint
      Font.Color = $00FF8000
      Font.Style = [fsUnderline]
      OnClick = LabelLinkClick
    end
    object LabelRight: TLabel
      Left = 21
      Top = 40
      Width = 175
      Height = 13
      Alignment = taCenter
      Caption = 'Right-Click on clock face for Settings'
      Font.Color = clWhite
    end
    object Label4: TLabel
      Left = 205
      Top = 4
      Anchors = [akTop, akRight]
      Caption = 'X'
      Font.Color = clWhite
      OnClick = Label4Click
    end
  end
end
