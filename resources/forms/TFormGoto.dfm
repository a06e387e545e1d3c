object FormGoto: TFormGoto
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Position = poMainFormCenter
  Caption = 'Go to offset'
  ClientWidth = 256
  ClientHeight = 68
  object LabelOffset: TLabel
    Left = 8
    Top = 10
    Caption = 'Offset (hexadecimal):'
  end
  object EditOffset: TEdit
    Left = 8
    Top = 26
    Width = 153
    Height = 21
    TabOrder = 0
  end
  object ButtonOk: TButton
    Left = 173
    Top = 8
    Width = 75
    Height = 23
    Caption = 'OK'
    Default = True
    TabOrder = 1
    OnClick = ButtonOkClick
  end
  object ButtonCancel: TButton
    Left = 173
    Top = 37
    Width = 75
    Height = 23
    Caption = 'Cancel'
    Cancel = True
    ModalResult = 2
    TabOrder = 2
  end
end
