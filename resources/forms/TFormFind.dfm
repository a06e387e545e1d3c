object FormFind: TFormFind
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Position = poMainFormCenter
  Caption = 'Find'
  ClientWidth = 340
  ClientHeight = 124
  object LabelFindWhat: TLabel
    Left = 8
    Top = 12
    Caption = 'Find what:'
  end
  object EditFindWhat: TEdit
    Left = 72
    Top = 8
    Width = 177
    Height = 21
    TabOrder = 0
    OnChange = EditFindWhatChange
  end
  object RadioGroupMode: TRadioGroup
    Left = 8
    Top = 40
    Width = 153
    Height = 76
    Caption = 'Search for'
    Items.Strings = (
      'Characters'
      'Decimal number'
      'Hexadecimal bytes')
    ItemIndex = 0
    TabOrder = 1
    OnClick = RadioGroupModeClick
  end
  object CheckBoxMatchCase: TCheckBox
    Left = 172
    Top = 52
    Width = 80
    Height = 17
    Caption = 'Match case'
    TabOrder = 2
  end
  object CheckBoxFromCursor: TCheckBox
    Left = 172
    Top = 76
    Width = 80
    Height = 17
    Caption = 'From cursor'
    TabOrder = 3
  end
  object ButtonFind: TButton
    Left = 257
    Top = 8
    Width = 75
    Height = 23
    Caption = 'Find'
    Default = True
    TabOrder = 4
    OnClick = ButtonFindClick
  end
  object ButtonCancel: TButton
    Left = 257
    Top = 37
    Width = 75
    Height = 23
    Caption = 'Cancel'
    Cancel = True
    ModalResult = 2
    TabOrder = 5
  end
end
