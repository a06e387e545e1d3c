object FormChangeLog: TFormChangeLog
  Left = 640
  Top = 120
  BorderStyle = bsSizeToolWin
  Caption = 'Change log'
  ClientWidth = 300
  ClientHeight = 320
  object PanelChanges: TPanel
    Left = 0
    Top = 0
    Width = 300
    Height = 160
    Align = alTop
    BevelOuter = bvNone
    object LabelChanges: TLabel
      Left = 8
      Top = 6
      Caption = 'Changes'
    end
    object ListChanges: TListView
      Left = 8
      Top = 22
      Width = 284
      Height = 134
      Anchors = [akLeft, akTop, akRight, akBottom]
      TabOrder = 0
      OnMouseDown = ListMouseDown
    end
  end
  object PanelRedo: TPanel
    Left = 0
    Top = 160
    Width = 300
    Height = 160
    Align = alClient
    BevelOuter = bvNone
    object LabelRedo: TLabel
      Left = 8
      Top = 4
      Caption = 'Redo'
    end
    object ListRedo: TListView
      Left = 8
      Top = 20
      Width = 284
      Height = 132
      Anchors = [akLeft, akTop, akRight, akBottom]
      TabOrder = 0
      OnMouseDown = ListMouseDown
    end
  end
end
