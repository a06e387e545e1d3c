object FormAboutNixie: TFormAboutNixie
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'About Velmora''s Nixie Clock'
  ClientWidth = 396
  ClientHeight = 305
  OnCreate = FormCreate
  object LabelProgName: TLabel
    Left = 8
    Top = 24
    Width = 377
    Height = 13
    Alignment = taCenter
    AutoSize = False
  end
  object LabelCopyright: TLabel
    Left = 8
    Top = 48
    Width = 377
    Height = 13
    Alignment = taCenter
    AutoSize = False
  end
  object LabelVersion: TLabel
    Left = 8
    Top = 72
    Width = 377
    Height = 13
    Alignment = taCenter
    AutoSize = False
  end
  object LabelUrl: TLabel
    Left = 8
    Top = 96
    Width = 377
    Height = 13
    Alignment = taCenter
    AutoSize = False
    Cursor = crHandPoint
    Font.Color = clBlue
    Font.Style = [fsUnderline]
    OnClick = LabelUrlClick
  end
  object Label6: TLabel
    Left = 8
    Top = 176
    Width = 377
    Height = 13
    Alignment = taCenter
    AutoSize = False
    Caption = 'Velmora Binary Clock'
    Cursor = crHandPoint
    Font.Color = clBlue
    Font.Style = [fsUnderline]
    OnClick = Label6Click
  end
  object Label2: TLabel
    Left = 8
    Top = 192
    Width = 377
    Height = 13
    Alignment = taCenter
    AutoSize = False
    Caption = 'Velmora Hex Editor'
    Cursor = crHandPoint
    Font.Color = clBlue
    Font.Style = [fsUnderline]
    OnClick = Label2Click
  end
  object Label4: TLabel
    Left = 8
    Top = 208
    Width = 377
    Height = 13
    Alignment = taCenter
    AutoSize = False
    Caption = 'Velmora Colour Bars'
    Cursor = crHandPoint
    Font.Color = clBlue
    Font.Style = [fsUnderline]
    OnClick = Label4Click
  end
  object Label3: TLabel
    Left = 8
    Top = 224
    Width = 377
    Height = 13
    Alignment = taCenter
    AutoSize = False
    Caption = 'Velmora Shaped Windows'
    Cursor = crHandPoint
    Font.Color = clBlue
    Font.Style = [fsUnderline]
    OnClick = Label3Click
  end
  object Label5: TLabel
    Left = 8
    Top = 240
    Width = 377
    Height = 13
    Alignment = taCenter
    AutoSize = False
    Caption = 'Velmora Tube Digits'
    Cursor = crHandPoint
    Font.Color = clBlue
    Font.Style = [fsUnderline]
    OnClick = Label5Click
  end
  object ButtonOk: TButton
    Left = 160
    Top = 272
    Width = 75
    Height = 25
    Caption = 'Ok'
    Default = True
    TabOrder = 0
    OnClick = ButtonOkClick
  end
end
