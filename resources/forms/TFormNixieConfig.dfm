object FormNixieConfig: TFormNixieConfig
  Left = 0
  Top = 0
  BorderStyle = bsDialog
  Caption = 'Clock Settings'
  ClientWidth = 273
  ClientHeight = 289
  object CheckBox24Hour: TCheckBox
    Left = 8
    Top = 16
    Width = 257
    Height = 17
    Caption = '24 Hour Mode (un-check for 12-hour mode)'
    TabOrder = 0
  end
  object CheckBoxAutoLoad: TCheckBox
    Left = 8
    Top = 40
    Width = 257
    Height = 17
    Caption = 'Auto-Load on Window Startup'
    TabOrder = 1
  end
  object CheckBoxOnTop: TCheckBox
    Left = 8
    Top = 64
    Width = 257
    Height = 17
    Caption = 'Always on Top'
    TabOrder = 2
  end
  object CheckBoxShowTitle: TCheckBox
    Left = 8
    Top = 88
    Width = 257
    Height = 17
    Caption = 'Show title box on startup'
    TabOrder = 6
  end
  object CheckBoxHideTask: TCheckBox
    Left = 8
    Top = 112
    Width = 257
    Height = 17
    Caption = 'Hide Taskbar Button (takes effect on restart)'
    TabOrder = 7
  end
  object RadioGroupType: TRadioGroup
    Left = 8
    Top = 136
    Width = 257
    Height = 57
    Caption = 'Clock Style'
    Columns = 2
    Items.Strings = (
      'Nixie Large'
      'Nixie Small'
      'Vfd Large'
      'Vfd Small')
    TabOrder = 5
  end
  object RadioGroupVfdColor: TRadioGroup
    Left = 8
    Top = 200
    Width = 257
    Height = 41
    Caption = 'VFD Digit Color (VFD only; not Nixie)'
    Columns = 3
    Items.Strings = (
      'Cyan'
      'Red'
      'Blue')
    TabOrder = 8
  end
  object ButtonOk: TButton
    Left = 59
    Top = 256
    Width = 75
    Height = 25
    Caption = 'Ok'
    Default = True
    TabOrder = 3
    OnClick = ButtonOkClick
  end
  object ButtonCancel: TButton
    Left = 139
    Top = 256
    Width = 75
    Height = 25
    Caption = 'Cancel'
    Cancel = True
    TabOrder = 4
    OnClick = ButtonCancelClick
  end
end
